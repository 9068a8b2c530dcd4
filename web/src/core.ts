// The core compiled to WebAssembly (web/core.cpp), as the page and its workers call it.
// spcore.js defines createCore(); the page loads it by a script tag, a worker by
// importScripts.

import { drawText, measureText, textCells } from "./text";

interface EmscriptenModule {
  cwrap(name: string, ret: string | null, args: string[]): (...a: unknown[]) => unknown;
  HEAPF64: Float64Array;
  HEAPU32: Uint32Array;
}
declare function createCore(hooks?: object): Promise<EmscriptenModule>;

export interface Characteristics {
  g: string | null;
  Ax: string | null;
  fi_x: string | null;
  Ay: string | null;
  fi_y: string | null;
  Dj: string | null;
  h: number;
  t_end: number;
  n_per: number;
}

export type Window4 = [number, number, number, number];
export interface Extents {
  plane: Window4;
  animation: Window4;
  xt: Window4;
  yt: Window4;
  lupa: Window4;
  M: number;
}

export interface FieldEdit {
  text: string;
  faults: ("Negative" | "NotPositive")[];
}

// A row of the experiments table; texts in the order of the fields' ids, null where the
// row keeps the start-up value itself.
export interface Experiment {
  key: string;
  title: string;
  texts: (string | null)[];
  time_graphs: boolean;
  zoom_xt: number;
  zoom_yt: number;
}

export interface Picture {
  pixels: number;
  width: number;
  height: number;
  dirty: [number, number, number, number];
}

export type Rect = [number, number, number, number];
export interface Panels {
  Picture1: Rect;
  Picture2: Rect;
  Picture3: Rect;
  Picture4: Rect;
  VScroll1: Rect;
  VScroll2: Rect;
}

export class Core {
  private constructor(private readonly m: EmscriptenModule) {}

  // The page draws the pictures' texts; a worker has no pictures and no fonts to give.
  static async load(withText = true): Promise<Core> {
    let module: EmscriptenModule | null = null;
    const hooks = withText ? {
      spMeasureText: measureText,
      spDrawText: (pixels: number, w: number, h: number, ratio: number, font: string, points: number,
                   x: number, y: number, rgb: number, text: string) =>
        drawText(() => module!.HEAPU32, pixels, w, h, ratio, font, points, x, y, rgb, text),
    } : {};
    module = await createCore(hooks);
    return new Core(module);
  }

  private fn(name: string, ret: string | null, args: string[]) {
    return this.m.cwrap(name, ret, args);
  }

  reset = this.lazy("sp_reset", null, []) as () => void;
  fieldText = this.lazy("sp_field_text", "string", ["number"]) as (id: number) => string;
  readWholeNumber = this.lazy("sp_read_whole_number", "number", ["string"]) as (text: string) => number;
  private experimentsRaw = this.lazy("sp_experiments", "string", ["string"]) as (tsv: string) => string;
  private editRaw = this.lazy("sp_edit_field", "string", ["number", "string"]) as (id: number, t: string) => string;
  private charRaw = this.lazy("sp_characteristics", "string", ["number"]) as (dp: number) => string;
  setScales = this.lazy("sp_set_scales", null, ["number", "number", "number", "number"]) as (
    slowdown: number, kLupa: number, kXt: number, kYt: number) => void;
  private extentsRaw = this.lazy("sp_extents", "string", []) as () => string;
  runStart = this.lazy("sp_run_start", null, []) as () => void;
  runSteps = this.lazy("sp_run_steps", "number", ["number"]) as (n: number) => number;
  private runChunkPtr = this.lazy("sp_run_chunk", "number", []) as () => number;
  private runGoingRaw = this.lazy("sp_run_going", "number", []) as () => number;
  runStop = this.lazy("sp_run_stop", null, []) as () => void;
  runStepCount = this.lazy("sp_run_step_count", "number", []) as () => number;
  runCsv = this.lazy("sp_run_csv", "string", []) as () => string;
  sweepBeta = this.lazy("sp_sweep_beta", "number", ["number", "number", "number", "number"]) as (
    from: number, to: number, n: number, k: number) => number;
  sweepRow = this.lazy("sp_sweep_row", "string", ["number"]) as (beta: number) => string;
  sweepHeader = this.lazy("sp_sweep_header", "string", []) as () => string;
  setParameter = this.lazy("sp_set_parameter", null, ["number", "number"]) as (id: number, v: number) => void;
  parameter = this.lazy("sp_parameter", "number", ["number"]) as (id: number) => number;

  // cwrap once, on first use (the fields above are set up before the module is known)
  private lazy(name: string, ret: string | null, args: string[]) {
    let f: ((...a: unknown[]) => unknown) | null = null;
    return (...a: unknown[]) => {
      f ??= this.fn(name, ret, args);
      return f(...a);
    };
  }

  private layoutRaw = this.lazy("sp_layout", "string", ["number", "number", "number", "number"]) as (
    cw: number, ch: number, ratio: number, dp: number) => string;
  private pictureRaw = this.lazy("sp_picture", "string", ["number", "number"]) as (i: number, take: number) => string;

  // The window's geometry for a client of cw × ch, the pictures drawn empty.
  layout(cw: number, ch: number, ratio: number, decimalPoint: string): Panels {
    return JSON.parse(this.layoutRaw(cw, ch, ratio, decimalPoint.charCodeAt(0)));
  }

  private portraitOpenRaw = this.lazy("sp_portrait_open", null, ["number", "number", "number", "number"]) as (
    w: number, h: number, ratio: number, dp: number) => void;
  portraitClose = this.lazy("sp_portrait_close", null, []) as () => void;
  // The phase portrait (picture 5) drawn empty at w × h; a run draws into it from then on.
  portraitOpen(w: number, h: number, ratio: number, decimalPoint: string) {
    this.portraitOpenRaw(w, h, ratio, decimalPoint.charCodeAt(0));
  }

  // The resonance curve's points as the workers hand them in, and its picture (picture 6)
  // drawn by the same plot kit as the window's and the tool's.
  curveBegin = this.lazy("sp_curve_begin", null, ["number", "number", "number"]) as (
    points: number, from: number, to: number) => void;
  curvePut = this.lazy("sp_curve_put", null, ["number", "string"]) as (k: number, row: string) => void;
  curveDraw = this.lazy("sp_curve_draw", null, ["number", "number", "number"]) as (
    w: number, h: number, ratio: number) => void;

  // Where texts were drawn into picture i, in its image pixels.
  textCellsOf(i: number) {
    const p: Picture = JSON.parse(this.pictureRaw(i, 0));
    return textCells.filter((c) => c.pixels === p.pixels);
  }

  // The changed part of a picture (0 plane, 1 animation, 2 X(t), 3 Y(t), 4 magnifier,
  // 5 phase portrait)
  // copied into the canvas's pixels, which have the picture's size.
  show(i: number, canvas: HTMLCanvasElement, whole = false) {
    const p: Picture = JSON.parse(this.pictureRaw(i, 1));
    if (p.width === 0) return;
    if (canvas.width !== p.width || canvas.height !== p.height) {
      canvas.width = p.width;
      canvas.height = p.height;
      whole = true;
    }
    const [x, y, w, h] = whole ? [0, 0, p.width, p.height] : p.dirty;
    if (w <= 0 || h <= 0) return;
    const data = new ImageData(w, h);
    const out = new Uint32Array(data.data.buffer);
    const heap = this.m.HEAPU32;
    const base = p.pixels >>> 2;
    for (let j = 0; j < h; ++j) {
      const row = base + (y + j) * p.width + x;
      for (let i2 = 0; i2 < w; ++i2) {
        const v = heap[row + i2];  // 0xFFRRGGBB; the canvas's bytes are R, G, B, A
        out[j * w + i2] = (v & 0xff00ff00) | ((v >>> 16) & 0xff) | ((v & 0xff) << 16);
      }
    }
    canvas.getContext("2d")!.putImageData(data, x, y);
  }

  experiments(tsv: string): Experiment[] {
    return JSON.parse(this.experimentsRaw(tsv));
  }
  editField(id: number, text: string): FieldEdit {
    return JSON.parse(this.editRaw(id, text));
  }
  characteristics(decimalPoint: string): Characteristics {
    return JSON.parse(this.charRaw(decimalPoint.charCodeAt(0)));
  }
  extents(): Extents {
    return JSON.parse(this.extentsRaw());
  }
  runGoing(): boolean {
    return this.runGoingRaw() !== 0;
  }
  // The states of the last chunk of steps: t, x, y, vx, vy, xs for each.
  runChunk(steps: number): Float64Array {
    const at = this.runChunkPtr() / 8;
    return this.m.HEAPF64.slice(at, at + 6 * steps);
  }
}
