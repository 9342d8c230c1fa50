"use strict";
// The phone book (book.txt) with pictures: the list, searched as the user
// types, and the fields of the window's "Phone Book Manager" to add, update,
// delete and clear; a picture is uploaded with the entry. The address-book
// folder's contacts are listed after it, read only.

const BOOK_FIELDS = ["name", "phone1", "phone2", "mobile", "other"];

const phonebook = {
  entries: [],
  contacts: [],
  editing: null, // the key of the entry in the fields, or null

  setUp() {
    const form = document.getElementById("book-form");
    form.addEventListener("submit", e => { e.preventDefault(); phonebook.save(null); });
    // Enter in a field updates the entry being edited, else adds one, as in the window.
    form.addEventListener("keydown", e => {
      if (e.key !== "Enter" || e.target.tagName !== "INPUT" || e.target.type === "file") return;
      e.preventDefault();
      phonebook.save(phonebook.editing);
    });
    document.getElementById("book-update").onclick = () => phonebook.save(phonebook.editing);
    document.getElementById("book-delete").onclick = () => phonebook.remove();
    document.getElementById("book-clear").onclick = () => phonebook.clear();
    document.getElementById("book-q").addEventListener("input", () => phonebook.render());
    document.getElementById("book-picture").addEventListener("change", e => {
      const file = e.target.files[0];
      phonebook.preview(file ? URL.createObjectURL(file) : null);
    });
  },

  async load() {
    const [book, folder] = await Promise.all([
      api.get("/api/v1/book"),
      api.get("/api/v1/contacts").catch(() => ({ contacts: [] })),
    ]);
    phonebook.entries = book.entries;
    phonebook.contacts = folder.contacts || [];
    phonebook.render();
  },

  render() {
    const words = document.getElementById("book-q").value.toLowerCase().split(/\s+/).filter(Boolean);
    const matches = texts => words.every(w => texts.some(text => (text || "").toLowerCase().includes(w)));
    const rows = phonebook.entries
      .filter(e => matches(BOOK_FIELDS.map(f => e[f])))
      .map(e => phonebook.row(e));
    const folderRows = phonebook.contacts
      .filter(c => matches([c.name, ...c.numbers]))
      .map(c => phonebook.row({ name: c.name, phone1: c.numbers[0], phone2: c.numbers[1], mobile: c.numbers[2],
                                other: c.numbers.slice(3).join(", "), picture: "" }, true));
    document.querySelector("#book-table tbody").replaceChildren(...rows, ...folderRows);
  },

  row(entry, readOnly = false) {
    const tr = document.createElement("tr");
    if (entry.key === phonebook.editing && !readOnly) tr.className = "current";
    const pic = document.createElement("td");
    const img = document.createElement("img");
    img.className = "thumb";
    img.alt = "";
    img.width = img.height = 32;
    img.loading = "lazy";
    img.src = entry.picture || NO_PICTURE;
    pic.append(img);
    tr.append(pic);
    for (const field of BOOK_FIELDS) {
      const td = document.createElement(field === "name" ? "th" : "td");
      if (field === "name") td.scope = "row";
      td.textContent = entry[field] && entry[field] !== "-" ? entry[field] : "";
      td.dataset.label = t({ name: "Name", phone1: "Phone 1", phone2: "Phone 2", mobile: "Mobile", other: "Other" }[field]);
      tr.append(td);
    }
    const action = document.createElement("td");
    if (readOnly) {
      action.className = "muted";
      action.textContent = t("From the address-book folder (read only)");
    } else {
      const edit = document.createElement("button");
      edit.type = "button";
      edit.textContent = t("Edit");
      edit.setAttribute("aria-label", t("Edit %1", entry.name));
      edit.onclick = () => phonebook.edit(entry);
      action.append(edit);
      tr.ondblclick = () => phonebook.edit(entry);
    }
    tr.append(action);
    return tr;
  },

  field(name) { return document.getElementById("book-" + name); },

  edit(entry) {
    phonebook.editing = entry.key;
    for (const f of BOOK_FIELDS) phonebook.field(f).value = entry[f] && entry[f] !== "-" ? entry[f] : "";
    phonebook.field("picture").value = "";
    phonebook.preview(entry.picture || null);
    phonebook.buttons();
    phonebook.message("");
    phonebook.render();
    phonebook.field("name").focus();
  },

  clear() {
    phonebook.editing = null;
    document.getElementById("book-form").reset();
    phonebook.preview(null);
    phonebook.buttons();
    phonebook.render();
  },

  buttons() {
    document.getElementById("book-update").disabled = phonebook.editing === null;
    document.getElementById("book-delete").disabled = phonebook.editing === null;
  },

  preview(src) {
    const img = document.getElementById("book-preview");
    img.hidden = !src;
    if (src) img.src = src;
  },

  message(text, ok = false) {
    const el = document.getElementById("book-message");
    el.textContent = text;
    el.dataset.level = ok ? "ok" : "error";
  },

  // Adds (key null) or updates an entry, then uploads a chosen picture for it.
  async save(key) {
    const body = {};
    for (const f of BOOK_FIELDS) body[f] = phonebook.field(f).value.trim();
    if (!body.name) {
      phonebook.message(t("A contact needs a name. Type it in the Name field, then choose Add New again."));
      phonebook.field("name").focus();
      return;
    }
    try {
      let entry = key === null ? await api.post("/api/v1/book", body) : await api.put(`/api/v1/book/${key}`, body);
      const file = phonebook.field("picture").files[0];
      if (file) entry = await api.request("PUT", `/api/v1/book/${entry.key}/picture`, file, file.type || "image/jpeg");
      phonebook.clear();
      phonebook.message(t("Saved."), true);
      await phonebook.load();
    } catch (e) {
      phonebook.message(errorText(e));
      phonebook.load().catch(() => {}); // an entry added before its picture failed shows
    }
  },

  async remove() {
    if (phonebook.editing === null || !(await confirmAction(t("Delete the selected contact?")))) return;
    try {
      await api.del(`/api/v1/book/${phonebook.editing}`);
      phonebook.clear();
      await phonebook.load();
    } catch (e) {
      phonebook.message(errorText(e));
    }
  },
};
