"use strict";
// The page's frame: the pages behind the tabs (#live, #calls, ...), the
// question before anything that overwrites, and the push channel's events
// handed to the parts. Nothing polls: every refresh follows an event.

const PAGES = {
  live: () => callList.loadLatest(),
  calls: () => callList.load(),
  statistics: () => statistics.load(),
  book: () => phonebook.load(),
  lists: () => lists.load(),
  adapter: () => (adapter.loaded ? null : adapter.receive()),
};

function currentPage() {
  const name = location.hash.slice(1);
  return name in PAGES ? name : "live";
}

function showPage() {
  const name = currentPage();
  document.querySelectorAll(".page").forEach(section => { section.hidden = section.id !== name; });
  document.querySelectorAll(".tabs a").forEach(a => {
    if (a.getAttribute("href") === "#" + name) a.setAttribute("aria-current", "page");
    else a.removeAttribute("aria-current");
  });
  refresh(name);
}

// Loads what a page shows; a failure is shown where the page says what it waits for.
function refresh(name) {
  Promise.resolve(PAGES[name]()).catch(e => {
    document.getElementById("link-state").textContent = errorText(e);
  });
}

// Fetches the pages that show `what` again, if one of them is open.
function refreshShown(...what) {
  if (what.includes(currentPage())) refresh(currentPage());
}

// A yes/no question in the page's own dialog; resolves true for "Continue".
function confirmAction(question) {
  const dialog = document.getElementById("confirm-dialog");
  document.getElementById("confirm-text").textContent = question;
  return new Promise(resolve => {
    dialog.onclose = () => resolve(dialog.returnValue === "ok");
    dialog.returnValue = "cancel";
    dialog.showModal();
    dialog.querySelector("button[value=cancel]").focus();
  });
}

async function start() {
  translatePage();
  channels.build();
  callList.setUp();
  phonebook.setUp();
  lists.setUp();
  adapter.build();
  adapter.followBundle();
  callerNotes.setUp();
  const session = await api.get("/api/v1/session").catch(() => null);
  if (session && session.passwordRequired && !session.loggedIn) await api.waitForLogin();
  api.listen({
    state: state => channels.render(state),
    call: event => callerNotes.announce(event),
    calls: () => refreshShown("live", "calls", "statistics"),
    book: () => refreshShown("book", "lists", "calls"),
    busy: busy => channels.renderLink(busy),
  }, (() => {
    let lost = false;
    return up => {
      if (!up) channels.linkLost();
      // Back after a gap: what changed meanwhile came while nobody listened.
      else if (lost) refresh(currentPage());
      lost = !up;
    };
  })());
  window.addEventListener("hashchange", showPage);
  showPage();
}

document.addEventListener("DOMContentLoaded", start);
