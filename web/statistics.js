"use strict";
// The statistics window's figures as charts (Chart.js, Debian's libjs-chart.js):
// calls per day of the last 30 days by kind, calls per hour of the day, the
// most frequent numbers and the costs per month and MSN.

// The kinds' colours in the server's order of "kinds" (Answered, Missed, Outgoing, Not connected).
const KIND_COLOURS = ["#2e9d4f", "#d9442b", "#2f6fd0", "#9a9a9a"];
const MSN_COLOURS = ["#2f6fd0", "#e08a1e", "#2e9d4f", "#9b4fd0", "#d9442b", "#1fa3a3", "#b5a40f", "#777"];

const statistics = {
  charts: {},

  async load() {
    const s = await api.get("/api/v1/statistics");
    const total = s.costs.reduce((sum, c) => sum + c.total, 0);
    document.getElementById("stats-summary").textContent =
      t("%1 calls in the list; costs of the last 12 months: %2", s.calls, formatMoney(total));
    if (typeof Chart === "undefined") return; // the charts' library is missing: the summary stays
    statistics.style();
    const days = s.perDay.map(d => d.date.slice(5));
    statistics.draw("chart-days", "bar", days, s.kinds.map((kind, i) => ({
      label: t(kind), data: s.perDay.map(d => d.counts[i]), backgroundColor: KIND_COLOURS[i % KIND_COLOURS.length],
    })), { stacked: true });
    statistics.draw("chart-hours", "bar", [...Array(24).keys()].map(String), [{
      label: t("Calls"), data: s.perHour, backgroundColor: KIND_COLOURS[2],
    }], { legend: false });
    statistics.draw("chart-top", "bar", s.topNumbers.map(n => n.name ? `${n.name} (${n.number})` : n.number), [{
      label: t("Calls"), data: s.topNumbers.map(n => n.calls), backgroundColor: KIND_COLOURS[0],
    }], { legend: false, horizontal: true });
    statistics.draw("chart-costs", "bar", s.months, s.costs.map((c, i) => ({
      label: c.msn || t("no MSN"), data: c.perMonth, backgroundColor: MSN_COLOURS[i % MSN_COLOURS.length],
    })), { stacked: true, money: true });
  },

  // Text and grid lines follow the page's colours (light or dark).
  style() {
    const css = getComputedStyle(document.body);
    Chart.defaults.color = css.getPropertyValue("--fg").trim();
    Chart.defaults.borderColor = css.getPropertyValue("--line").trim();
    Chart.defaults.font.family = css.fontFamily;
  },

  draw(id, type, labels, datasets, { stacked = false, legend = true, horizontal = false, money = false } = {}) {
    const canvas = document.getElementById(id);
    canvas.setAttribute("aria-label", canvas.closest("figure").querySelector("figcaption").textContent);
    if (statistics.charts[id]) statistics.charts[id].destroy();
    statistics.charts[id] = new Chart(canvas, {
      type,
      data: { labels, datasets },
      options: {
        indexAxis: horizontal ? "y" : "x",
        maintainAspectRatio: false,
        animation: false,
        plugins: {
          legend: { display: legend, position: "bottom" },
          tooltip: money ? { callbacks: { label: c => `${c.dataset.label}: ${formatMoney(c.raw)}` } } : {},
        },
        scales: {
          x: { stacked, beginAtZero: horizontal, ticks: horizontal ? { precision: 0 } : { maxRotation: 0 } },
          y: { stacked, beginAtZero: !horizontal, ticks: horizontal || money ? {} : { precision: 0 } },
        },
      },
    });
  },
};
