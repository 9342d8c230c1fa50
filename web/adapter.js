"use strict";
// The adapter's settings as the settings window shows them: its frames and
// captions, the names of `corvane-config show --json`, "Receive Settings" and
// "Transmit Settings", and the buttons that act on the adapter at once, with a
// question first where they overwrite something.

const check = (name, caption) => ({ kind: "check", name, caption });
const text = (name, caption, attrs = {}) => ({ kind: "text", name, caption, attrs });
const choice = (name, caption, options, readOnly = false) => ({ kind: "choice", name, caption, options, readOnly });
const units = (port) => ({ kind: "units", port });
const action = (caption, run, args = []) => ({ kind: "action", caption, run, args });

const MSN_ATTRS = { inputmode: "numeric", pattern: "[0-9]{0,20}", maxlength: "20" };
const PHONE_CHECKS = n => [
  check("CheckGC" + n, "Global Calls On"), check("CheckDCB" + n, "Delayed Clear Off"),
  check("CheckCID" + n, "Caller on Bundle"), check("CheckCL" + n, "Calling Line ID Off"),
  check("CheckIC" + n, "Incoming calls Off"), check("CheckMP" + n, "Metering Pulse"),
  check("CheckCH" + n, "Charging Counter"), check("CheckCW" + n, "Call Waiting"),
];
const MSN_FIELDS = first => [1, 2, 3].map(i => text("TextMSN" + (first + i - 1), "MSN" + i, MSN_ATTRS));
const HIGH_LAYER = ["Telephony", "Fax G2/G3", "No element sent"];

const ADAPTER_FRAMES = [
  { caption: "Phone 1 (POTS-1)", items: [...PHONE_CHECKS(1), ...MSN_FIELDS(1), text("TextOWN1", "Own #", MSN_ATTRS), units("Phone1")] },
  { caption: "Phone 2 (POTS-2)", items: [...PHONE_CHECKS(2), ...MSN_FIELDS(4), text("TextOWN2", "Own #", MSN_ATTRS), units("Phone2")] },
  { caption: "DTE Port (ISDN Modem)", items: [
    ...MSN_FIELDS(7), text("TextOWN3", "Own #", MSN_ATTRS),
    text("TextRINGS", "Answer", { inputmode: "numeric", suffix: "rings", min: "0", max: "120", type: "number" }),
    check("CheckCH3", "Charging Counter"),
    choice("OptionPROT", "Protocol", ["PPP-MLPPP B", "Voice Tran. B Ch.", "PPP Trans. B Ch.", "Data Tran. B Ch."]),
    choice("Option1", "PPP Mode", [null, "64 kbps", "128 kbps"], true),
    units("DTE")] },
  { caption: "High Layer", items: [choice("Option4", "Setting for Phone 1", HIGH_LAYER), choice("Option5", "Setting for Phone 2", HIGH_LAYER)] },
  { caption: "Global Controls", items: [
    check("CheckFUL", "Full Emergency On"), check("CheckBUN", "Bundle Connect On"),
    check("CheckCIDOnHook", "Caller ID (On Hook)"), check("CheckCIDOffHook", "Caller ID (Off Hook)"),
    check("CheckBAUD", "Auto Baud On"),
    text("TextHOOK", "Hook Flash Time", { inputmode: "numeric", suffix: "Time in ms", hint: "200 ms to 1000 ms", type: "number", min: "200", max: "1000" }),
    choice("Option3", "SS Protocol", ["Keypad", "Functional"]),
    action("Hangup Phone 1", "hangUp", [1]), action("Hangup Phone 2", "hangUp", [2])] },
  { caption: "Dodova Profiles and Power-on default", items: [
    choice("Option2", "Power-On Profile", ["Profile 1", "Profile 2", "Profile 3", "Profile 4", "Factory"]),
    action("Load Factory Settings", "loadFactory"),
    ...[1, 2, 3, 4].map(n => action(t("Load P%1", n), "loadProfile", [n])),
    ...[1, 2, 3, 4].map(n => action(t("Save to P%1", n), "saveProfile", [n]))] },
  { caption: "Cost per Unit", items: [{ kind: "cost" }, action("Reset Counters", "resetCounters")] },
];

const adapter = {
  read: null,      // the settings as last read: name -> text
  settable: [],
  loaded: false,

  build() {
    const frames = document.getElementById("adapter-frames");
    ADAPTER_FRAMES.forEach((frame, i) => {
      const set = document.createElement("fieldset");
      set.className = "frame card";
      const legend = document.createElement("legend");
      legend.textContent = t(frame.caption);
      set.append(legend);
      const actions = document.createElement("div");
      actions.className = "buttons";
      for (const item of frame.items) {
        const el = adapter.element(item, i);
        (item.kind === "action" ? actions : set).append(el);
      }
      if (actions.children.length) set.append(actions);
      frames.append(set);
    });
    document.getElementById("adapter-read").onclick = () => adapter.receive();
    document.getElementById("adapter-form").addEventListener("submit", e => { e.preventDefault(); adapter.transmit(); });
  },

  element(item, frameIndex) {
    const id = name => "set-" + name;
    switch (item.kind) {
      case "check": {
        const label = document.createElement("label");
        label.className = "check";
        label.innerHTML = `<input type="checkbox" id="${id(item.name)}" name="${item.name}"> <span></span>`;
        label.querySelector("span").textContent = t(item.caption);
        return label;
      }
      case "text": {
        const label = document.createElement("label");
        label.className = "field";
        const caption = document.createElement("span");
        caption.textContent = t(item.caption);
        const input = document.createElement("input");
        input.id = id(item.name);
        input.name = item.name;
        input.autocomplete = "off";
        for (const [k, v] of Object.entries(item.attrs)) if (!["suffix", "hint"].includes(k)) input.setAttribute(k, v);
        label.append(caption, input);
        if (item.attrs.suffix) {
          const suffix = document.createElement("span");
          suffix.className = "muted";
          suffix.textContent = t(item.attrs.suffix) + (item.attrs.hint ? ` (${t(item.attrs.hint)})` : "");
          label.append(suffix);
        }
        return label;
      }
      case "choice": {
        const set = document.createElement("fieldset");
        set.className = "choice";
        const legend = document.createElement("legend");
        legend.textContent = t(item.caption);
        set.append(legend);
        item.options.forEach((option, value) => {
          if (option === null) return;
          const label = document.createElement("label");
          label.className = "check";
          label.innerHTML = `<input type="radio" name="${item.name}" value="${value}"> <span></span>`;
          label.querySelector("span").textContent = t(option);
          if (item.readOnly) label.querySelector("input").disabled = true;
          set.append(label);
        });
        return set;
      }
      case "units": {
        const box = document.createElement("div");
        box.className = "units";
        box.innerHTML = `<table class="grid compact"><caption></caption>
          <thead><tr><th></th><th scope="col" class="c-units"></th></tr></thead>
          <tbody><tr><th scope="row" class="r-last"></th><td id="units-${item.port}-Last"></td></tr>
                 <tr><th scope="row" class="r-total"></th><td id="units-${item.port}-Total"></td></tr></tbody></table>`;
        box.querySelector("caption").textContent = t("Call Charges");
        box.querySelector(".c-units").textContent = t("Call Units");
        box.querySelector(".r-last").textContent = t("Last");
        box.querySelector(".r-total").textContent = t("Total");
        return box;
      }
      case "cost": {
        const p = document.createElement("p");
        p.id = "adapter-cost";
        p.className = "muted";
        return p;
      }
      case "action": {
        const button = document.createElement("button");
        button.type = "button";
        button.textContent = t(item.caption);
        button.className = "device";
        button.onclick = () => adapter[item.run](...item.args);
        return button;
      }
    }
    throw new Error("unknown element " + item.kind + " in frame " + frameIndex);
  },

  // The form from a settings object (names and texts as the API gives them).
  show(settings) {
    adapter.read = settings;
    for (const [name, value] of Object.entries(settings)) {
      const field = document.getElementById("set-" + name);
      if (field && field.type === "checkbox") field.checked = value === "1";
      else if (field) field.value = value;
      document.querySelectorAll(`input[type=radio][name="${name}"]`).forEach(r => { r.checked = r.value === value; });
    }
    for (const port of ["DTE", "Phone1", "Phone2"])
      for (const kind of ["Last", "Total"]) {
        const cell = document.getElementById(`units-${port}-${kind}`);
        if (cell) cell.textContent = settings[`Units.${port}.${kind}`] || "";
      }
    const ident = ["ATI4", "ATI3", "ATI0", "ATI1"].map(k => settings[k]).filter(Boolean).join(" · ");
    document.getElementById("adapter-ident").textContent = ident;
    const cost = [settings.UnitCost ? `${t("Cost per Unit")}: ${settings.UnitCost}` : "",
                  settings.LastReset ? t("Last reset: %1", settings.LastReset) : ""].filter(Boolean).join(" · ");
    document.getElementById("adapter-cost").textContent = cost;
  },

  // What the form holds now, under the settable names.
  current() {
    const out = {};
    for (const name of adapter.settable) {
      const field = document.getElementById("set-" + name);
      if (field && field.type === "checkbox") out[name] = field.checked ? "1" : "0";
      else if (field) out[name] = field.value.trim();
      else {
        const radio = document.querySelector(`input[type=radio][name="${name}"]:checked`);
        if (radio) out[name] = radio.value;
      }
    }
    return out;
  },

  // Runs one request on the adapter with the buttons disabled meanwhile.
  async busy(progress, run) {
    const buttons = document.querySelectorAll("#adapter-form button");
    buttons.forEach(b => { b.disabled = true; });
    document.getElementById("adapter-busy").textContent = t(progress);
    const message = document.getElementById("adapter-message");
    message.textContent = "";
    try {
      await run();
      document.getElementById("adapter-busy").textContent = t("Done.");
    } catch (e) {
      document.getElementById("adapter-busy").textContent = "";
      message.textContent = errorText(e);
    } finally {
      buttons.forEach(b => { b.disabled = false; });
    }
  },

  async receive() {
    await adapter.busy("Reading the adapter ...", async () => {
      const answer = await api.get("/api/v1/settings");
      adapter.settable = answer.settable;
      adapter.show(answer.settings);
      adapter.loaded = true;
    });
  },

  async transmit() {
    if (!adapter.loaded) return adapter.receive();
    const form = document.getElementById("adapter-form");
    if (!form.checkValidity()) { form.reportValidity(); return; }
    const now = adapter.current();
    const changed = Object.fromEntries(Object.entries(now).filter(([k, v]) => adapter.read[k] !== v));
    await adapter.busy("Writing the adapter ...", async () => {
      const answer = await api.put("/api/v1/settings", { settings: changed });
      adapter.show(answer.settings);
      const said = (answer.warnings || []).map(w => t(w));
      if (answer.refused && answer.refused.length) said.push(t("The DodOva refused: %1.", answer.refused.join(", ")));
      document.getElementById("adapter-message").textContent = said.join(" ");
    });
  },

  // Buttons that overwrite the adapter ask first, then read the adapter again.
  async overwrite(question, path) {
    if (!(await confirmAction(question))) return;
    await adapter.busy("Writing the adapter ...", () => api.post(path));
    await adapter.receive();
  },

  loadFactory() {
    return adapter.overwrite(t("Load the factory settings into the adapter? Its current settings are overwritten."),
                             "/api/v1/settings/factory");
  },
  loadProfile(n) {
    return adapter.overwrite(t("Load profile %1 into the adapter? Its current settings are overwritten.", n),
                             `/api/v1/profiles/${n}/load`);
  },
  async saveProfile(n) {
    if (!(await confirmAction(t("Store the adapter's current settings in profile %1? The profile is overwritten.", n)))) return;
    await adapter.busy("Writing the adapter ...", () => api.post(`/api/v1/profiles/${n}/save`));
  },
  resetCounters() {
    return adapter.overwrite(t("Reset the adapter's charge counters to zero?"), "/api/v1/counters/reset");
  },
  hangUp(port) {
    return adapter.busy("Writing the adapter ...", () => api.post("/api/v1/hangup", { port }));
  },

  // "Bundle Connect On" decides the PPP mode, as in the window.
  followBundle() {
    const bundle = document.getElementById("set-CheckBUN");
    bundle.addEventListener("change", () => {
      document.querySelectorAll('input[name="Option1"]').forEach(r => { r.checked = r.value === (bundle.checked ? "2" : "1"); });
    });
  },
};
