"use strict";
// The ignore list (ignore.txt: callers announced nowhere) and the own
// numbers' names the monitor shows with each MSN.

const MAX_MSN_NAMES = 9;

const lists = {
  setUp() {
    document.getElementById("ignore-form").addEventListener("submit", e => { e.preventDefault(); lists.saveIgnore(); });
    document.getElementById("numbers-form").addEventListener("submit", e => { e.preventDefault(); lists.saveNames(); });
    document.getElementById("numbers-add").onclick = () => {
      lists.addNameRow({ msn: "", name: "" }).querySelector("input").focus();
      lists.limitRows();
    };
  },

  async load() {
    const [ignore, names] = await Promise.all([api.get("/api/v1/ignore"), api.get("/api/v1/msn-names")]);
    // Not while the user is typing: the next save sends what is in the fields.
    const area = document.getElementById("ignore-text");
    if (document.activeElement !== area) area.value = ignore.entries.join("\n");
    if (!document.getElementById("numbers-form").contains(document.activeElement)) {
      document.getElementById("numbers-rows").replaceChildren();
      names.names.forEach(n => lists.addNameRow(n));
      if (!names.names.length) lists.addNameRow({ msn: "", name: "" });
      lists.limitRows();
    }
  },

  addNameRow(entry) {
    const rows = document.getElementById("numbers-rows");
    const index = rows.children.length + 1;
    const tr = document.createElement("tr");
    const msn = lists.input("msn", entry.msn, `${t("MSN")} ${index}`);
    msn.inputMode = "numeric";
    msn.pattern = "[0-9]{1,20}";
    msn.title = t("Digits only, at most 20");
    const name = lists.input("name", entry.name, `${t("Name shown with it")} ${index}`);
    const remove = document.createElement("button");
    remove.type = "button";
    remove.textContent = t("Remove");
    remove.setAttribute("aria-label", `${t("Remove")} ${index}`);
    remove.onclick = () => { tr.remove(); lists.limitRows(); };
    for (const el of [msn, name, remove]) {
      const td = document.createElement("td");
      td.append(el);
      tr.append(td);
    }
    rows.append(tr);
    return tr;
  },

  input(kind, value, label) {
    const input = document.createElement("input");
    input.className = kind;
    input.value = value;
    input.autocomplete = "off";
    input.setAttribute("aria-label", label);
    return input;
  },

  limitRows() {
    document.getElementById("numbers-add").disabled =
      document.getElementById("numbers-rows").children.length >= MAX_MSN_NAMES;
  },

  async saveIgnore() {
    const entries = document.getElementById("ignore-text").value.split("\n").map(s => s.trim()).filter(Boolean);
    await lists.report("ignore-message", () => api.put("/api/v1/ignore", { entries }));
  },

  async saveNames() {
    const names = [...document.querySelectorAll("#numbers-rows tr")]
      .map(tr => ({ msn: tr.querySelector(".msn").value.trim(), name: tr.querySelector(".name").value.trim() }))
      .filter(n => n.msn || n.name);
    await lists.report("numbers-message", () => api.put("/api/v1/msn-names", { names }));
  },

  async report(id, send) {
    const el = document.getElementById(id);
    try {
      await send();
      el.textContent = t("Saved.");
      el.dataset.level = "ok";
    } catch (e) {
      el.textContent = errorText(e);
      el.dataset.level = "error";
    }
  },
};
