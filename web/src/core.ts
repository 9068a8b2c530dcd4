// The core compiled to WebAssembly (web/core.cpp), as the page and its workers call it.
// spcore.js defines createCore(); the page loads it by a script tag, a worker by
// importScripts.

interface EmscriptenModule {
  cwrap(name: string, ret: string | null, args: string[]): (...a: unknown[]) => unknown;
  HEAPF64: Float64Array;
}
declare function createCore(): Promise<EmscriptenModule>;

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

export class Core {
  private constructor(private readonly m: EmscriptenModule) {}

  static async load(): Promise<Core> {
    return new Core(await createCore());
  }

  private fn(name: string, ret: string | null, args: string[]) {
    return this.m.cwrap(name, ret, args);
  }

  reset = this.lazy("sp_reset", null, []) as () => void;
  fieldText = this.lazy("sp_field_text", "string", ["number"]) as (id: number) => string;
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
