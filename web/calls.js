"use strict";
// The call list: newest first, searched as the user types, "Missed" and
// "Ignored" as in the window's history bar, the CSV export of the calls shown
// and deleting the rows ticked. It is fetched again when the push channel says
// the list changed.

const PAGE_SIZE = 50;
const LATEST = 5;

const callList = {
  offset: 0,
  total: 0,
  selected: new Set(),
  typingTimer: 0,

  setUp() {
    const q = document.getElementById("calls-q");
    q.addEventListener("input", () => {
      clearTimeout(callList.typingTimer);
      callList.typingTimer = setTimeout(() => callList.restart(), 150);
    });
    document.getElementById("calls-filter").addEventListener("submit", e => { e.preventDefault(); callList.restart(); });
    for (const id of ["calls-missed", "calls-ignored"])
      document.getElementById(id).addEventListener("change", () => callList.restart());
    document.getElementById("calls-prev").onclick = () => callList.page(-1);
    document.getElementById("calls-next").onclick = () => callList.page(1);
    document.getElementById("calls-delete").onclick = () => callList.deleteSelected();
    document.getElementById("calls-all").onchange = e => {
      document.querySelectorAll("#calls-table tbody input[type=checkbox]").forEach(box => {
        box.checked = e.target.checked;
        callList.toggle(box.value, box.checked);
      });
    };
  },

  filter() {
    return {
      q: document.getElementById("calls-q").value.trim(),
      missed: document.getElementById("calls-missed").checked ? 1 : "",
      ignored: document.getElementById("calls-ignored").checked ? 1 : "",
    };
  },

  restart() {
    callList.offset = 0;
    callList.selected.clear();
    return callList.load();
  },

  page(step) {
    callList.offset = Math.max(0, callList.offset + step * PAGE_SIZE);
    return callList.load();
  },

  async load() {
    const filter = callList.filter();
    document.getElementById("calls-export").href = "/api/v1/calls.csv" + queryString(filter);
    const answer = await api.get("/api/v1/calls" + queryString({ ...filter, offset: callList.offset, limit: PAGE_SIZE }));
    // A newer request may have been answered first: only the current filter counts.
    if (JSON.stringify(filter) !== JSON.stringify(callList.filter())) return;
    callList.total = answer.total;
    callList.render(answer.calls);
  },

  render(calls) {
    const body = document.querySelector("#calls-table tbody");
    body.replaceChildren(...calls.map(call => callList.row(call)));
    const last = Math.min(callList.offset + calls.length, callList.total);
    document.getElementById("calls-count").textContent = t("%1 calls", callList.total);
    document.getElementById("calls-page").textContent =
      callList.total ? t("%1-%2 of %3", callList.offset + 1, last, callList.total) : t("No calls yet");
    document.getElementById("calls-prev").disabled = callList.offset === 0;
    document.getElementById("calls-next").disabled = last >= callList.total;
    document.getElementById("calls-all").checked = false;
    callList.updateDelete();
  },

  row(call) {
    const tr = document.createElement("tr");
    tr.className = [call.missed ? "missed" : "", call.ignored ? "ignored" : ""].join(" ").trim();
    const box = document.createElement("input");
    box.type = "checkbox";
    box.value = call.key;
    box.checked = callList.selected.has(call.key);
    box.setAttribute("aria-label", t("Select") + " " + [call.date, call.time, call.number].join(" "));
    box.onchange = () => callList.toggle(call.key, box.checked);
    const first = document.createElement("td");
    first.append(box);
    tr.append(first);
    const msn = call.msnName ? `${call.msn} (${call.msnName})` : call.msn;
    for (const [text, label] of [[msn, "MSN"], [call.type, "Type"], [call.date, "Date"], [call.time, "Time"],
                                  [call.number, "Number"], [call.name, "Name"], [call.duration, "Duration"],
                                  [call.cost, "Cost"]]) {
      const td = document.createElement("td");
      td.textContent = text;
      if (label === "Name" && !call.name && call.place) {
        td.textContent = call.place;
        td.className = "place";
      }
      td.dataset.label = t(label);
      tr.append(td);
    }
    return tr;
  },

  toggle(key, on) {
    if (on) callList.selected.add(key); else callList.selected.delete(key);
    callList.updateDelete();
  },

  updateDelete() {
    document.getElementById("calls-delete").disabled = callList.selected.size === 0;
  },

  async deleteSelected() {
    const keys = [...callList.selected];
    if (!keys.length || !(await confirmAction(t("Delete the %1 selected calls from the call list?", keys.length)))) return;
    const message = document.getElementById("calls-message");
    message.textContent = "";
    try {
      await api.post("/api/v1/calls/delete", { keys });
      callList.selected.clear();
    } catch (e) {
      message.textContent = errorText(e);
    }
    await callList.load();
  },

  // The last few calls under the channels on the live page.
  async loadLatest() {
    const answer = await api.get("/api/v1/calls" + queryString({ limit: LATEST }));
    const list = document.getElementById("latest");
    if (!answer.calls.length) {
      const li = document.createElement("li");
      li.className = "muted";
      li.textContent = t("No calls yet");
      list.replaceChildren(li);
      return;
    }
    list.replaceChildren(...answer.calls.map(call => {
      const li = document.createElement("li");
      li.className = call.missed ? "missed" : "";
      const when = document.createElement("span");
      when.className = "muted";
      when.textContent = `${call.date} ${call.time} · ${call.type}`;
      const who = document.createElement("strong");
      who.textContent = call.number;
      const name = document.createElement("span");
      name.textContent = call.name;
      li.append(when, who, name);
      return li;
    }));
  },
};
