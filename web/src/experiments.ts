// The experiments of the guide, from the table the guide's build and the window read
// (docs/experiments.tsv): tab-separated, a header row naming the columns.

export interface Experiment {
  key: string;
  title: string;
  texts: (string | undefined)[];  // field texts in the order of the fields' ids
  timeGraphs: boolean;
  zoomXt: number;
  zoomYt: number;
}

const kParams = ["alpha", "beta", "Xm", "DYg", "Xo", "Vox", "Yo", "Voy", "Tmax"];

export function readExperiments(tsv: string): Experiment[] {
  const lines = tsv.split("\n").map((l) => l.replace(/\r$/, "")).filter((l) => l.trim() !== "");
  if (lines.length === 0) return [];
  const header = lines[0].split("\t");
  const col = (name: string) => header.indexOf(name);
  const whole = (v: string | undefined) => {
    const n = Number.parseInt(v ?? "", 10);
    return Number.isFinite(n) && n >= 1 ? n : 1;
  };
  return lines.slice(1).map((line) => {
    const cells = line.split("\t");
    const cell = (name: string) => (col(name) >= 0 ? cells[col(name)] : undefined);
    return {
      key: cell("key") ?? "",
      title: cell("title") ?? "",
      texts: kParams.map((p) => cell(p)),
      timeGraphs: cell("graphs") === "time",
      zoomXt: whole(cell("zoom_xt")),
      zoomYt: whole(cell("zoom_yt")),
    };
  });
}
