// The page: the main window's controls wired to the core. Every number and every rule
// (reading and normalising the fields, the characteristics, the run, its CSV, the
// resonance curve) comes from the core; the page only shows them and paces the run.
import { Core, Experiment, Extents, Rect } from "./core";

// The nine fields, top to bottom as the window has them: parameter id (web/core.cpp),
// field and label names, caption, hover text.
const kFields: [number, string, string, string, string][] = [
  [0, "Text1", "Label1", "α =", "Коэффициент затухания безразмерный (можно учесть трение)"],
  [1, "Text4", "Label4", "β =", "Отношение частот: вынуждающей силы к вертикальной"],
  [2, "Text7", "Label7", "Xm =", "Амплитуда вынуждающей силы (безразмерная)"],
  [3, "Text8", "Label8", "DYg =", "Вертикальное смещение под действием силы тяжести ( безразмерное)"],
  [4, "Text2", "Label2", "Xo =", "Начальная горизонтальная координата"],
  [5, "Text3", "Label3", "Vox =", "Начальная горизонтальная скорость (безразмерная)"],
  [6, "Text5", "Label5", "Yo =", "Начальная вертикальная координата (безразмерная)"],
  [7, "Text6", "Label6", "Voy =", "Начальная вертикальная скорость"],
  [8, "Text9", "Label9", "Tmax =", "Время расчёта (в собственных периодах)"],
];

function entryMessage(id: number, fault: string): string {
  if (id === 0) return "не может быть отрицательным! Не вводите заново, а исправьте!";
  if (id === 1) return "Не должна быть меньше 0! Не вводите заново, а исправьте!";
  if (id === 8 || fault === "NotPositive") return "Должно быть больше 0! Не вводите заново, а исправьте!";
  return "Не может быть отрицательным! Не вводите заново, а исправьте!";
}

const kDecimalPoint = ",";  // the labels speak the locale's language, Russian
// ?pace=0 runs without the pause between steps (the tests, an impatient teacher)
const kUnpaced = new URLSearchParams(location.search).get("pace") === "0";
// ?client=WxH lays the pictures out as the window's client of that size does (the tests
// compare them with the tool's pictures of the same client)
const kClient = /^(\d+)x(\d+)$/.exec(new URLSearchParams(location.search).get("client") ?? "");

const $ = <T extends HTMLElement>(id: string) => document.getElementById(id) as T;

class Page {
  readonly core: Core;
  private inputs = new Map<number, HTMLInputElement>();
  private running = false;
  private paceStart = 0;
  private shown = 0;
  private extents!: Extents;
  private portraitShown = false;
  private hadRun = false;

  constructor(core: Core) {
    this.core = core;
  }

  start() {
    this.buildFields();
    this.wireControls();
    this.layout();
    performance.mark("first-picture");
    new ResizeObserver(() => {
      if (!this.running) this.layout();
    }).observe($("pictures"));
    void this.loadExperiments();
  }

  // --- fields -----------------------------------------------------------------------
  private buildFields() {
    const box = $("fields");
    for (const [id, field, label, caption, tip] of kFields) {
      const l = document.createElement("label");
      l.id = label;
      l.htmlFor = field;
      l.textContent = caption;
      l.title = tip;
      const input = document.createElement("input");
      input.id = field;
      input.type = "text";
      input.title = tip;
      input.spellcheck = false;
      input.autocomplete = "off";
      input.value = this.core.fieldText(id);
      input.addEventListener("input", () => this.fieldChanged(id));
      box.append(l, input);
      this.inputs.set(id, input);
    }
  }

  // As the window: every change of a field's text is read, checked, normalised and
  // applied at once; the caret stays where the user was typing.
  private fieldChanged(id: number) {
    const input = this.inputs.get(id)!;
    const caret = input.selectionStart ?? input.value.length;
    const edit = this.core.editField(id, input.value);
    if (edit.faults.length > 0) this.warn(entryMessage(id, edit.faults[0]));
    input.value = edit.text;
    input.setSelectionRange(Math.min(caret, edit.text.length), Math.min(caret, edit.text.length));
    // a re-layout, during a run too (only Tmax can change then): the run goes on into it
    this.layout();
  }

  private setFieldText(id: number, text: string) {
    this.inputs.get(id)!.value = this.core.editField(id, text).text;
  }

  private warn(text: string) {
    const box = $("messages");
    box.textContent = "Ошибка: " + text;
    beep(300);
  }

  // --- characteristics and pictures ------------------------------------------------
  private showCharacteristics() {
    const c = this.core.characteristics(kDecimalPoint);
    // γ and Δφ…π: the window draws these two captions in its Greek-letter typeface
    const show = (id: string, prefix: string, v: string | null, suffix: string) => {
      $(id).textContent = prefix + (v === null ? "—" : v + suffix);
    };
    show("Label12", "γ = ", c.g, "");
    show("Label13", "Ax = ", c.Ax, " ");
    show("Label14", "fi_x = ", c.fi_x, " рад ");
    show("Label15", "Ay = ", c.Ay, " ");
    show("Label16", "fi_y = ", c.fi_y, " рад ");
    show("Label17", "Δφ = ", c.Dj, "π");
  }

  private scales() {
    const value = (id: string) => Number(($(id) as HTMLInputElement).value);
    this.core.setScales(value("HScroll1"), value("HScroll2"), value("VScroll1"), value("VScroll2"));
  }

  // Everything a re-layout redraws: characteristics, regions, the pictures drawn empty by
  // the core at the window's geometry for the room the page has, at the screen's ratio.
  private layout() {
    this.scales();
    this.showCharacteristics();
    this.extents = this.core.extents();
    const room = $("pictures");
    // The window's graph square is its client's width less the parameter column (140 with
    // the margins): a client that gives the square the room's smaller side, 4 pixels clear.
    const side = Math.max(0, Math.min(room.clientWidth, room.clientHeight));
    const [cw, ch] = kClient ? [Number(kClient[1]), Number(kClient[2])] : [side + 132, side + 56];
    const panels = this.core.layout(cw, ch, window.devicePixelRatio || 1, kDecimalPoint);
    const place = (id: string, [left, top, width, height]: Rect) => {
      const e = $(id);
      e.style.left = `${left}px`;
      e.style.top = `${top}px`;
      e.style.width = `${width}px`;
      e.style.height = `${height}px`;
    };
    place("Picture1", panels.Picture1);
    place("Picture2", panels.Picture2);
    place("Picture3", panels.Picture3);
    place("Picture4", panels.Picture4);
    place("VScroll1", panels.VScroll1);
    place("VScroll2", panels.VScroll2);
    if (this.portraitShown) this.openPortrait();
    this.showPictures(true);
    this.showGraphs();
  }

  private openPortrait() {
    const c = $("portrait") as HTMLCanvasElement;
    this.core.portraitOpen(c.clientWidth, c.clientHeight, window.devicePixelRatio || 1, kDecimalPoint);
    this.portraitShown = true;
    this.core.show(5, c, true);
  }

  private showPictures(whole = false) {
    for (let i = 0; i < 5; ++i) this.core.show(i, $(`Picture${i + 1}`) as HTMLCanvasElement, whole);
    if (this.portraitShown) this.core.show(5, $("portrait") as HTMLCanvasElement, whole);
  }

  // The graph choice shows one pair of pictures and hides the other, as the window's does;
  // all of them are drawn all the time, so either shows the run so far.
  private showGraphs() {
    const timeGraphs = ($("Option2") as HTMLInputElement).checked;
    for (const id of ["Picture1", "Picture2"]) $(id).hidden = timeGraphs;
    for (const id of ["Picture3", "Picture4", "VScroll1", "VScroll2"]) $(id).hidden = !timeGraphs;
  }

  // --- the run ----------------------------------------------------------------------
  private toggleRun() {
    if (this.running) {
      this.core.runStop();
      this.endRun();
      return;
    }
    this.layout();
    this.core.runStart();
    performance.mark("run-start");
    this.running = true;
    this.hadRun = true;
    this.shown = 0;
    this.paceStart = performance.now();
    $("CmdOK").textContent = "СТОП";
    this.lock(true);
    if (this.portraitShown) this.openPortrait();
    requestAnimationFrame(() => this.tick());
  }

  private endRun() {
    performance.mark("run-end");
    this.running = false;
    $("CmdOK").textContent = "ПУСК";
    this.lock(false);
    $("status").textContent = `Шагов: ${this.core.runStepCount()}`;
  }

  // As the window during a run: the fields but Tmax, the zooms, the magnifier button and
  // the experiments wait; the slow-down, the graph choice and Tmax stay at hand.
  private lock(locked: boolean) {
    for (const [id, input] of this.inputs) if (id !== 8) input.disabled = locked;
    for (const id of ["HScroll2", "VScroll1", "VScroll2", "Command1", "mnuStartValues"])
      ($(id) as HTMLInputElement).disabled = locked;
    for (const b of document.querySelectorAll<HTMLButtonElement>("[id^=mnuExperiment_]")) b.disabled = locked;
  }

  private pace() {
    return 10 * Number(($("HScroll1") as HTMLInputElement).value);
  }

  // The steps due by now at 10 ms × slow-down each, taken and drawn together.
  private tick() {
    if (!this.running) return;
    const due = kUnpaced ? this.shown + 4000 : Math.floor((performance.now() - this.paceStart) / this.pace());
    const wanted = Math.min(due - this.shown, 4000);
    if (wanted > 0) {
      const taken = this.core.runSteps(wanted);
      this.drawSteps();
      this.shown += taken;
      if (!this.core.runGoing()) {
        this.endRun();
        return;
      }
    }
    if (kUnpaced) setTimeout(() => this.tick(), 0);
    else requestAnimationFrame(() => this.tick());
  }

  // The slow-down changed during a run: the steps already shown keep their time.
  private repace() {
    if (this.running) this.paceStart = performance.now() - this.shown * this.pace();
  }

  // The core drew the steps into the pictures: the page shows what changed.
  private drawSteps() {
    this.showPictures();
  }

  // --- menus, bars, dialogs ---------------------------------------------------------
  private wireControls() {
    $("CmdOK").addEventListener("click", () => this.toggleRun());
    const bar = (id: string, f: () => void) => $(id).addEventListener("input", f);
    bar("HScroll1", () => {
      $("Label21").textContent = ($("HScroll1") as HTMLInputElement).value;
      this.repace();
    });
    for (const id of ["HScroll2", "VScroll1", "VScroll2"]) bar(id, () => this.layout());
    for (const id of ["Option1", "Option2"]) $(id).addEventListener("change", () => this.showGraphs());
    $("Command1").addEventListener("click", () => {
      const d = $("Form3") as HTMLDialogElement;
      if (!d.open) d.show();
      this.layout();
    });
    $("mnuStartValues").addEventListener("click", () => this.startValues());
    $("mnuFileSaveRun").addEventListener("click", () => this.saveRun());
    $("mnuFileSaveFigures").addEventListener("click", () => this.saveFigures());
    $("mnuExperimentsPortrait").addEventListener("click", () => {
      const d = $("portraitDialog") as HTMLDialogElement;
      if (!d.open) d.show();
      if (!this.portraitShown) this.openPortrait();
    });
    $("portraitClose").addEventListener("click", () => {
      ($("portraitDialog") as HTMLDialogElement).close();
      this.core.portraitClose();
      this.portraitShown = false;
    });
    for (const [button, dialog] of [["mnuHelpAbout", "aboutDialog"], ["mnuHelpAvtors", "authorsDialog"]])
      $(button).addEventListener("click", () => ($(dialog) as HTMLDialogElement).showModal());
    for (const menu of document.querySelectorAll("nav details"))
      menu.addEventListener("click", (e) => {
        if ((e.target as HTMLElement).closest("button, a")) (menu as HTMLDetailsElement).open = false;
      });
    new Curve(this.core, (id) => this.core.parameter(id), (t) => this.warn(t));
  }

  private startValues() {
    if (this.running) return;
    this.core.reset();
    for (const [id] of kFields) this.inputs.get(id)!.value = this.core.fieldText(id);
    for (const [id, v] of [["HScroll1", 1], ["HScroll2", 1], ["VScroll1", 1], ["VScroll2", 1]] as const)
      ($(id) as HTMLInputElement).value = String(v);
    $("Label21").textContent = "1";
    this.layout();
  }

  private async loadExperiments() {
    const list = $("experimentList");
    let table: Experiment[] = [];
    try {
      table = this.core.experiments(await (await fetch("experiments.tsv")).text());
    } catch {
      return;  // the page works without its experiments menu
    }
    for (const e of table) {
      const b = document.createElement("button");
      b.textContent = e.title;
      b.id = "mnuExperiment_" + e.key;
      b.addEventListener("click", () => this.applyExperiment(e));
      const li = document.createElement("li");
      li.append(b);
      list.append(li);
    }
  }

  // An experiment sets its fields through the fields' own rule, its graphs and zooms.
  private applyExperiment(e: Experiment) {
    if (this.running) return;
    this.core.reset();
    for (const [id] of kFields) {
      const text = e.texts[id];
      this.inputs.get(id)!.value = text !== null ? this.core.editField(id, text).text : this.core.fieldText(id);
    }
    ($(e.time_graphs ? "Option2" : "Option1") as HTMLInputElement).checked = true;
    ($("VScroll1") as HTMLInputElement).value = String(e.zoom_xt);
    ($("VScroll2") as HTMLInputElement).value = String(e.zoom_yt);
    this.layout();
  }

  private saveRun() {
    if (!this.hadRun) {
      this.warn("Расчёта ещё не было: сохранять нечего. Нажмите «ПУСК».");
      return;
    }
    download("run.csv", new Blob([this.core.runCsv()], { type: "text/csv" }));
  }

  private saveFigures() {
    const names: [string, string][] = [["Picture1", "plane.png"], ["Picture2", "animation.png"],
      ["Picture3", "xt.png"], ["Picture4", "yt.png"], ["Picture5", "magnifier.png"]];
    for (const [id, name] of names)
      ($(id) as HTMLCanvasElement).toBlob((b) => b && download(name, b), "image/png");
  }
}

// The resonance curve: the swing against the driving frequency, a run per point, computed
// in Web Workers while the page stays free; cancelled at once by ending the workers.
class Curve {
  private workers: Worker[] = [];
  private rows: (string | undefined)[] = [];
  private header = "";
  private pending = false;
  private done = 0;

  constructor(private readonly core: Core, private readonly param: (id: number) => number,
              private readonly warn: (t: string) => void) {
    $("mnuExperimentsCurve").addEventListener("click", () => ($("curveDialog") as HTMLDialogElement).show());
    $("curveStart").addEventListener("click", () => this.start());
    $("curveCancel").addEventListener("click", () => this.cancel());
    $("curveSaveCsv").addEventListener("click", () => this.save());
    $("curveSavePng").addEventListener("click", () =>
      ($("curvePlot") as HTMLCanvasElement).toBlob((b) => b && download("resonance.png", b), "image/png"));
    $("curveClose").addEventListener("click", () => {
      this.cancel();
      ($("curveDialog") as HTMLDialogElement).close();
    });
  }

  private start() {
    this.cancel();
    // Read as the window reads them: an empty or partly numeric text is no number.
    const read = (id: string) => this.core.readWholeNumber(($(id) as HTMLInputElement).value);
    const from = read("curveFrom");
    const to = read("curveTo");
    const n = read("curvePoints");
    if (!(from >= 0 && from <= to && to <= 1000 && Number.isInteger(n) && n >= 2 && n <= 100000)) {
      this.warn("β «от» и «до» — числа, 0 ≤ от ≤ до ≤ 1000; точек — от 2 до 100000.");
      return;
    }
    this.header = this.core.sweepHeader();
    this.rows = new Array(n);
    this.done = 0;
    const params = Array.from({ length: 9 }, (_, id) => this.param(id));
    this.core.curveBegin(n, from, to);
    this.redraw();
    const progress = $("curveProgress") as HTMLProgressElement;
    progress.max = n;
    progress.value = 0;
    $("curveState").textContent = "Расчёт…";
    let next = 0;
    const give = (w: Worker) => {
      if (next >= n) return;
      const k = next++;
      w.postMessage({ params, k, beta: this.core.sweepBeta(from, to, n, k) });
    };
    const count = Math.max(1, Math.min(navigator.hardwareConcurrency || 2, 8, n));
    for (let i = 0; i < count; ++i) {
      const w = new Worker("worker.js");
      w.onmessage = (e: MessageEvent<{ k: number; row: string }>) => {
        this.rows[e.data.k] = e.data.row;
        this.core.curvePut(e.data.k, e.data.row);
        progress.value = ++this.done;
        this.redrawSoon();
        if (this.done === n) {
          this.cancel();
          this.redraw(); // the finished curve at once, not a tenth of a second after «Готово»
          $("curveState").textContent = "Готово";
        } else give(w);
      };
      this.workers.push(w);
      give(w);
    }
  }

  private cancel() {
    for (const w of this.workers) w.terminate();
    performance.mark("curve-ended");
    if (this.workers.length > 0 && this.done < this.rows.length) $("curveState").textContent = "Отменено";
    this.workers = [];
  }

  // Points arrive faster than a picture is worth drawing: a few pictures a second.
  private redrawSoon() {
    if (this.pending) return;
    this.pending = true;
    setTimeout(() => {
      this.pending = false;
      this.redraw();
    }, 100);
  }

  private redraw() {
    const canvas = $("curvePlot") as HTMLCanvasElement;
    this.core.curveDraw(canvas.clientWidth, canvas.clientHeight, window.devicePixelRatio || 1);
    this.core.show(6, canvas, true);
  }

  private save() {
    if (this.done === 0) {
      this.warn("Ни одной точки кривой ещё не рассчитано.");
      return;
    }
    const text = this.header + this.rows.filter((r) => r !== undefined).join("");
    download("resonance.csv", new Blob([text], { type: "text/csv" }));
  }
}

function download(name: string, blob: Blob) {
  const a = document.createElement("a");
  a.href = URL.createObjectURL(blob);
  a.download = name;
  document.body.append(a);
  a.click();
  a.remove();
  setTimeout(() => URL.revokeObjectURL(a.href), 10000);
}

// The window's warning tone: 880 Hz; silent where the browser has no sound for the page.
function beep(ms: number) {
  try {
    const audio = new AudioContext();
    const tone = audio.createOscillator();
    tone.frequency.value = 880;
    tone.connect(audio.destination);
    tone.start();
    tone.stop(audio.currentTime + ms / 1000);
    tone.onended = () => void audio.close();
  } catch {
    // no sound to be had
  }
}

void Core.load().then((core) => {
  const page = new Page(core);
  page.start();
  (window as unknown as { page: Page }).page = page;
  document.body.dataset.ready = "1";
});
