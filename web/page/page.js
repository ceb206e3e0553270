// The page is a view of the laboratory compiled to WebAssembly: it forwards each user's action
// to it, draws the state it reads back, schedules the run's slices between the browser's own
// tasks and shows the message of an error in a modal box.
"use strict";

(async () => {
  const Module = await createLabModule();
  const $ = (id) => document.getElementById(id);
  const form = $("Form1");

  // The browser's regional number settings, as the desktop takes the system's.
  const parts = new Intl.NumberFormat(navigator.language, { useGrouping: true }).formatToParts(12345.5);
  const part = (type, fallback) => (parts.find((p) => p.type === type) || { value: fallback }).value;
  const lab = new Module.LabPage(part("decimal", "."), part("group", ","));

  const edits = [$("Edit1"), $("Edit2"), $("Edit3")];
  const groups = [$("RadioGroup1"), $("RadioGroup2"), $("RadioGroup3")];
  const radios = groups.map((g) => [...g.querySelectorAll("input")]);
  const check = $("CheckBox1").querySelector("input");
  const charts = [$("Chart1"), $("Chart2"), $("Chart3")];
  const figures = ["Label9", "Label11", "Label13", "Label1", "Label3", "Label5", "Label21"].map($);
  const bars = [$("ProgressBar1"), $("ProgressBar2"), $("ProgressBar3")];
  const box = $("ErrorBox");
  const title = "Optimal-filtering";
  let scale = 1;
  let drawnRefreshes = -1;

  charts.forEach((c, i) => lab.setTitle(i, c.getAttribute("aria-label")));
  bars.forEach((b, i) => {
    b.setAttribute("aria-valuemin", "0");
    b.setAttribute("aria-valuemax", String(lab.barMax(i)));
  });

  // Below their captions the items of a group share its height evenly, one row each.
  groups.forEach((g, gi) => {
    const top = 24;
    const row = Math.floor((parseInt(g.style.height) - top - 4) / radios[gi].length);
    radios[gi].forEach((r, i) => {
      const label = r.parentElement;
      label.style.top = `${top + i * row}px`;
      label.style.height = `${row}px`;
    });
  });

  // Spinners: two arrow buttons out of the Tab order, named by the quantity they set.
  document.querySelectorAll(".updown").forEach((u) => {
    for (const [arrow, up, word] of [["▲", true, "больше"], ["▼", false, "меньше"]]) {
      const b = document.createElement("button");
      b.textContent = arrow;
      b.tabIndex = -1;
      b.setAttribute("aria-label", `${word}: ${u.dataset.quantity}`);
      b.addEventListener("click", () => forward(() => lab.spin(Number(u.dataset.spinner), up)));
      u.append(b);
    }
  });

  // --- The catching point and the error box -------------------------------------------------

  function forward(event) {
    const message = event();
    drawState();
    if (message) showError(message);
  }

  const pending = [];
  function showError(message) {
    if (box.open) {
      pending.push(message);
      return;
    }
    $("ErrorBoxCaption").textContent = title;
    $("ErrorBoxText").textContent = message;
    box.dataset.shown = String(Number(box.dataset.shown || 0) + 1);
    box.showModal();
    $("ErrorBoxOk").focus();
  }
  box.addEventListener("close", () => {
    if (pending.length) return showError(pending.shift());
    drawState();
  });

  // --- Drawing the state --------------------------------------------------------------------

  function drawState() {
    edits.forEach((e, i) => {
      const text = lab.text(i);
      if (e.value !== text) e.value = text;
    });
    radios.forEach((items, g) => {
      const index = lab.itemIndex(g);
      items.forEach((r, i) => (r.checked = i === index));
    });
    check.checked = lab.checked();
    setTimer(lab.timerEnabled());
    schedule();
    if (lab.refreshes() !== drawnRefreshes) drawDisplay();
  }

  function drawDisplay() {
    drawnRefreshes = lab.refreshes();
    figures.forEach((f, i) => {
      const text = lab.figure(i);
      if (f.textContent !== text) f.textContent = text;
    });
    bars.forEach((b, i) => {
      const position = lab.bar(i);
      const max = lab.barMax(i);
      b.setAttribute("aria-valuenow", String(position));
      b.firstElementChild.style.width = `${(100 * Math.min(Math.max(position, 0), max)) / max}%`;
    });
    charts.forEach(drawChart);
  }

  function drawChart(canvas, i) {
    const ratio = (window.devicePixelRatio || 1) * scale;
    const w = parseInt(canvas.style.width), h = parseInt(canvas.style.height);
    const dw = Math.round(w * ratio), dh = Math.round(h * ratio);
    if (canvas.width !== dw || canvas.height !== dh) {
      canvas.width = dw;
      canvas.height = dh;
    }
    lab.drawChart(i, canvas.getContext("2d"), w, h, ratio);
  }

  // --- The run and the refresh --------------------------------------------------------------

  // A zero-delay task per slice: the browser's events, paints and the refresh run in between.
  const channel = new MessageChannel();
  let scheduled = false;
  function schedule() {
    if (!scheduled && lab.wantsPasses() && !box.open) {
      scheduled = true;
      channel.port2.postMessage(0);
    }
  }
  channel.port1.onmessage = () => {
    scheduled = false;
    if (box.open || !lab.wantsPasses()) return;
    const message = lab.slice();
    if (message) {
      drawState();
      return showError(message);
    }
    schedule();
  };

  let timer = 0;
  function setTimer(enabled) {
    if (enabled && !timer) timer = setInterval(() => forward(() => lab.tick()), 500);
    else if (!enabled && timer) {
      clearInterval(timer);
      timer = 0;
    }
  }

  // --- The controls' events -----------------------------------------------------------------

  edits.forEach((e, i) => {
    e.addEventListener("input", () => forward(() => lab.setText(i, e.value)));
    const spinner = i === 0 ? 0 : i === 2 ? 2 : -1;
    if (spinner < 0) return;
    // The arrow keys in an attached box step its spinner.
    e.addEventListener("keydown", (k) => {
      if (k.key !== "ArrowUp" && k.key !== "ArrowDown") return;
      k.preventDefault();
      forward(() => lab.spin(spinner, k.key === "ArrowUp"));
    });
  });
  radios.forEach((items, g) =>
    items.forEach((r, i) => r.addEventListener("change", () => r.checked && forward(() => lab.select(g, i))))
  );
  check.addEventListener("change", () => forward(() => lab.setCopy(check.checked)));
  $("Button1").addEventListener("click", () => forward(() => lab.start()));
  $("Button2").addEventListener("click", () => forward(() => lab.stop()));
  window.addEventListener("pagehide", () => lab.close());

  // --- The charts' and the figure groups' menus -----------------------------------------------

  // Each menu acts on what its owner showed when it opened; the run may change it meanwhile.
  const chartMenu = $("ChartMenu"), figuresMenu = $("FiguresMenu");
  const figureGroups = [$("GroupBox1"), $("GroupBox2")];
  let open = null; // { menu, owner, shot }
  function openMenu(menu, owner, shot, x, y) {
    closeMenu();
    open = { menu, owner, shot };
    menu.hidden = false;
    menu.style.left = `${Math.min(x, innerWidth - menu.offsetWidth - 2)}px`;
    menu.style.top = `${Math.min(y, innerHeight - menu.offsetHeight - 2)}px`;
    menu.querySelector("button").focus();
  }
  function closeMenu() {
    if (open) open.menu.hidden = true;
    open = null;
  }
  // A right click, the menu key or Shift+F10 on owner opens its menu with what take() gives.
  function withMenu(owner, menu, take) {
    owner.addEventListener("contextmenu", (e) => {
      e.preventDefault();
      owner.focus();
      openMenu(menu, owner, take(), e.clientX, e.clientY);
    });
    owner.addEventListener("keydown", (e) => {
      if (e.target !== owner || !(e.key === "ContextMenu" || (e.key === "F10" && e.shiftKey))) return;
      e.preventDefault();
      const r = owner.getBoundingClientRect();
      openMenu(menu, owner, take(), r.left + r.width / 2, r.top + r.height / 2);
    });
  }

  // The chart as drawn now, at twice its layout's pixels whatever the page's scale.
  function picture(i) {
    const c = charts[i];
    const w = parseInt(c.style.width), h = parseInt(c.style.height);
    const big = document.createElement("canvas");
    big.width = 2 * w;
    big.height = 2 * h;
    lab.drawChart(i, big.getContext("2d"), w, h, 2);
    return new Promise((resolve) => big.toBlob(resolve, "image/png"));
  }
  function download(blob, name) {
    const a = document.createElement("a");
    a.href = URL.createObjectURL(blob);
    a.download = name;
    a.click();
    setTimeout(() => URL.revokeObjectURL(a.href), 1000);
  }
  charts.forEach((c, i) =>
    withMenu(c, chartMenu, () => ({
      name: c.getAttribute("aria-label"), picture: picture(i), csv: lab.chartCsv(i), text: lab.chartText(i),
    }))
  );
  // As the window copies them: "Group: caption<Tab>figure" a line.
  const figuresText = () =>
    figures.map((f) => `${f.getAttribute("aria-description")}: ${f.getAttribute("aria-label")}\t${f.textContent}\n`).join("");
  figureGroups.forEach((g) => withMenu(g, figuresMenu, () => ({ text: figuresText() })));

  const actions = {
    copyPicture: async (shot) => navigator.clipboard.write([new ClipboardItem({ "image/png": shot.picture })]),
    savePicture: async (shot) => download(await shot.picture, `${shot.name}.png`),
    saveData: async (shot) => download(new Blob([shot.csv], { type: "text/csv" }), `${shot.name}.csv`),
    copyData: async (shot) => navigator.clipboard.writeText(shot.text),
    copyFigures: async (shot) => navigator.clipboard.writeText(shot.text),
  };
  document.addEventListener("pointerdown", (e) => open && !open.menu.contains(e.target) && closeMenu());
  for (const menu of [chartMenu, figuresMenu]) {
    menu.addEventListener("keydown", (e) => {
      const items = [...menu.querySelectorAll("button")];
      const at = items.indexOf(document.activeElement);
      if (e.key === "Escape") {
        const owner = open.owner;
        closeMenu();
        owner.focus();
      } else if (e.key === "ArrowDown" || e.key === "ArrowUp") {
        e.preventDefault();
        items[(at + (e.key === "ArrowDown" ? 1 : items.length - 1)) % items.length].focus();
      }
    });
    menu.addEventListener("click", (e) => {
      const action = e.target.closest("button")?.dataset.action;
      if (!action || !open) return;
      const { owner, shot } = open;
      closeMenu();
      owner.focus();
      actions[action](shot).catch((err) => showError(String(err.message || err)));
    });
  }

  // --- Fitting the viewport -----------------------------------------------------------------

  // The whole form shrinks with a smaller viewport, never below 60 %; with more room nothing moves.
  function fit() {
    const w = form.offsetWidth, h = form.offsetHeight;
    scale = Math.max(0.6, Math.min(1, innerWidth / w, innerHeight / h));
    form.style.transform = scale < 1 ? `scale(${scale})` : "";
    // Wider viewports keep the form in their middle.
    form.style.left = `${Math.max(0, Math.floor((innerWidth - w * scale) / 2))}px`;
    document.body.style.overflow = innerWidth < w * scale || innerHeight < h * scale ? "auto" : "hidden";
    charts.forEach(drawChart);
  }
  window.addEventListener("resize", fit);
  matchMedia(`(resolution: ${window.devicePixelRatio}dppx)`).addEventListener("change", fit);

  // ?passes=N holds the run after N passes in all, for checks that compare figures; the run's
  // count is readable for them too.
  const passes = Number(new URLSearchParams(location.search).get("passes"));
  if (passes > 0) lab.setPassLimit(passes);
  window.labPage = {
    passesMade: () => lab.passesMade(),
    setPassLimit: (n) => {
      lab.setPassLimit(n);
      schedule();
    },
  };

  drawState();
  fit();
  form.dataset.ready = "true";
})();
