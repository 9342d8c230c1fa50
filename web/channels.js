"use strict";
// The two B-channels as in the monitor window: the lamps "Active",
// "Connected" and "Ring", the caller's number, name and picture, the MSN, the
// running duration and the cost. Everything comes from the push channel's
// state; the page only counts the seconds on between two states.

const PHASE_TEXT = { idle: "Idle", ringing: "Ringing", dialing: "Dialling", talking: "Connected" };
const NO_PICTURE = "noname.jpg";

const channels = {
  shown: {},   // channel letter -> {state, receivedAt, seconds}

  build() {
    document.querySelectorAll(".channel").forEach(card => {
      const letter = card.dataset.channel;
      card.insertAdjacentHTML("beforeend", `
        <ul class="lamps">
          <li class="lamp active"><span class="dot" aria-hidden="true"></span>${t("Active")}</li>
          <li class="lamp connected"><span class="dot" aria-hidden="true"></span>${t("Connected")}</li>
          <li class="lamp ring"><span class="dot" aria-hidden="true"></span>${t("Ring")}</li>
        </ul>
        <div class="caller">
          <img class="portrait" alt="" src="${NO_PICTURE}" width="96" height="96">
          <div>
            <p class="phase" id="chan-${letter}-phase"></p>
            <p class="number" id="chan-${letter}-number"></p>
            <p class="name" id="chan-${letter}-name"></p>
            <p class="place muted" id="chan-${letter}-place"></p>
          </div>
        </div>
        <dl class="facts">
          <dt>${t("MSN :")}</dt><dd id="chan-${letter}-msn"></dd>
          <dt>${t("Call duration :")}</dt><dd id="chan-${letter}-duration">-</dd>
          <dt>${t("Call cost  :")}</dt><dd id="chan-${letter}-cost">-</dd>
        </dl>`);
      card.setAttribute("aria-describedby", `chan-${letter}-phase`);
    });
    setInterval(channels.tick, 1000);
  },

  render(state) {
    const now = Date.now();
    for (const ch of state.channels || []) {
      const card = document.querySelector(`.channel[data-channel="${ch.channel}"]`);
      if (!card) continue;
      channels.shown[ch.channel] = { state: ch, receivedAt: now, seconds: parseDuration(ch.duration) };
      card.dataset.phase = ch.phase;
      const field = name => document.getElementById(`chan-${ch.channel}-${name}`);
      field("phase").textContent = t(PHASE_TEXT[ch.phase] || ch.phase);
      field("number").textContent = ch.phase === "idle" ? "" : (ch.numberGrouped || ch.number || (ch.phase === "ringing" ? t("Withheld number") : ""));
      field("name").textContent = ch.phase === "idle" ? "" : ch.name;
      field("place").textContent = ch.phase === "idle" ? "" : ch.place;
      field("msn").textContent = ch.msnName ? `${ch.msn} (${ch.msnName})` : (ch.msn || "-");
      field("cost").textContent = ch.cost || "-";
      const img = card.querySelector("img");
      const picture = ch.phase !== "idle" && ch.picture ? ch.picture : NO_PICTURE;
      if (img.getAttribute("src") !== picture) img.src = picture;
      img.alt = ch.name || "";
    }
    channels.tick();
    channels.renderLink(state.adapter || {});
  },

  // The running durations, from the last state's duration and the time since.
  tick() {
    for (const [letter, shown] of Object.entries(channels.shown)) {
      const el = document.getElementById(`chan-${letter}-duration`);
      const running = shown.state.phase !== "idle" && shown.state.start && shown.seconds !== null;
      el.textContent = running
        ? formatDuration(shown.seconds + Math.floor((Date.now() - shown.receivedAt) / 1000))
        : (shown.state.duration || "-");
    }
  },

  renderLink(adapter) {
    const el = document.getElementById("link-state");
    let text = adapter.connected === false ? t("Adapter not connected") : t("Adapter connected");
    if (adapter.busy) text = t("Changing the adapter's settings; monitoring pauses");
    const port = document.createElement("span");
    port.className = "port";
    port.textContent = adapter.port ? ` (${adapter.port})` : "";
    el.replaceChildren(text, port);
    el.dataset.level = adapter.busy ? "busy" : adapter.connected === false ? "down" : "up";
  },

  linkLost() {
    const el = document.getElementById("link-state");
    el.textContent = t("No connection to the monitor; trying again");
    el.dataset.level = "down";
  },
};

// "h:mm:ss" -> seconds; null for "-" or anything else.
function parseDuration(text) {
  const m = /^(\d+):(\d\d):(\d\d)$/.exec(text || "");
  return m ? (+m[1]) * 3600 + (+m[2]) * 60 + (+m[3]) : null;
}

function formatDuration(seconds) {
  const s = Math.max(0, seconds);
  const two = n => String(n).padStart(2, "0");
  return `${Math.floor(s / 3600)}:${two(Math.floor(s / 60) % 60)}:${two(s % 60)}`;
}

// Browser notifications of callers while the page is open, once the user allowed them.
const callerNotes = {
  setUp() {
    const button = document.getElementById("notify");
    if (!("Notification" in window)) return;
    const show = () => {
      button.hidden = Notification.permission === "denied";
      button.textContent = Notification.permission === "granted" ? t("Callers are announced") : t("Notify me of callers");
      button.disabled = Notification.permission === "granted";
    };
    button.onclick = () => Notification.requestPermission().then(show);
    show();
  },

  announce(event) {
    if (!("Notification" in window) || Notification.permission !== "granted") return;
    if (event.event !== "incoming" && event.event !== "waiting") return;
    const who = [event.number || t("Withheld number"), event.name || event.place].filter(Boolean).join(" · ");
    const to = event.msn_name ? `${event.msn} (${event.msn_name})` : event.msn;
    new Notification(t("Incoming call"), {
      body: to ? `${who}\n${t("MSN :")} ${to}` : who,
      tag: "corvane-" + (event.channel || "call"),
      icon: event.picture || NO_PICTURE,
    });
  },
};
