"use strict";
// The monitor's HTTP API (docs/web.md): JSON requests, the login when the
// server asks for a password, and the push channel that drives the page.

class ApiError extends Error {
  constructor(status, code, message) {
    super(message || code || String(status));
    this.status = status;
    this.code = code;
  }
}

const api = {
  // Resolved once the login dialog succeeded; requests that met a 401 wait for it.
  loginWaiters: [],

  async request(method, path, body, contentType = "application/json") {
    const init = { method, headers: {}, credentials: "same-origin" };
    if (body !== undefined) {
      init.headers["Content-Type"] = contentType;
      init.body = contentType === "application/json" ? JSON.stringify(body) : body;
    }
    const response = await fetch(path, init);
    if (response.status === 401 && path !== "/api/v1/login") {
      await api.waitForLogin();
      return api.request(method, path, body, contentType);
    }
    if (!response.ok) {
      let error = {};
      try { error = await response.json(); } catch (e) { /* not JSON: the status says enough */ }
      throw new ApiError(response.status, error.error, error.message);
    }
    if (response.status === 204) return null;
    const type = response.headers.get("Content-Type") || "";
    return type.startsWith("application/json") ? response.json() : response.text();
  },

  get(path) { return api.request("GET", path); },
  post(path, body) { return api.request("POST", path, body === undefined ? {} : body); },
  put(path, body) { return api.request("PUT", path, body); },
  del(path) { return api.request("DELETE", path); },

  // Shows the login form and resolves when a password was accepted.
  waitForLogin() {
    return new Promise(resolve => {
      api.loginWaiters.push(resolve);
      if (api.loginWaiters.length === 1) showLogin();
    });
  },

  async login(password) {
    await api.request("POST", "/api/v1/login", { password });
    const waiters = api.loginWaiters.splice(0);
    waiters.forEach(resolve => resolve());
  },

  // The push channel: handlers by event name get the parsed data. EventSource
  // reconnects by itself; onLink tells whether the channel is up.
  listen(handlers, onLink) {
    let source = null;
    const open = () => {
      source = new EventSource("/api/v1/events");
      source.onopen = () => onLink(true);
      source.onerror = async () => {
        onLink(false);
        if (source.readyState !== EventSource.CLOSED) return;
        // Closed for good, e.g. 401 after the session ended: log in, then reopen.
        const session = await api.get("/api/v1/session").catch(() => null);
        if (session && session.passwordRequired && !session.loggedIn) await api.waitForLogin();
        setTimeout(open, 2000);
      };
      for (const [name, handle] of Object.entries(handlers)) {
        source.addEventListener(name, event => {
          let data = null;
          try { data = JSON.parse(event.data); } catch (e) { return; }
          handle(data);
        });
      }
    };
    open();
  },
};

// The query part of a URL from an object, leaving out empty values.
function queryString(params) {
  const q = new URLSearchParams();
  for (const [k, v] of Object.entries(params)) if (v !== "" && v !== null && v !== undefined) q.set(k, v);
  const s = q.toString();
  return s ? "?" + s : "";
}

// A message for people from a failed request.
function errorText(error) {
  return error instanceof ApiError ? t("The monitor answered: %1", error.message) : String(error.message || error);
}

function showLogin() {
  const dialog = document.getElementById("login-dialog");
  const form = document.getElementById("login-form");
  const field = document.getElementById("login-password");
  const message = document.getElementById("login-message");
  message.textContent = "";
  form.onsubmit = async event => {
    event.preventDefault();
    try {
      await api.login(field.value);
      field.value = "";
      dialog.close();
    } catch (e) {
      message.textContent = e.status === 401 ? t("Wrong password.") : errorText(e);
      field.select();
    }
  };
  // The login cannot be dismissed: without it nothing works.
  dialog.oncancel = event => event.preventDefault();
  if (!dialog.open) dialog.showModal();
  field.focus();
}
