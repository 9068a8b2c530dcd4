// A picture of model coordinates on a canvas: the region [x1, y1, x2, y2] has (x1, y1) at
// the upper-left corner and (x2, y2) at the lower-right one, as the window's pictures have.
// The canvas holds device pixels (CSS size × devicePixelRatio), so lines stay sharp.

export function sizeCanvas(c: HTMLCanvasElement): CanvasRenderingContext2D {
  const ratio = window.devicePixelRatio || 1;
  const w = Math.max(1, Math.round(c.clientWidth * ratio));
  const h = Math.max(1, Math.round(c.clientHeight * ratio));
  if (c.width !== w || c.height !== h) {
    c.width = w;
    c.height = h;
  }
  const g = c.getContext("2d")!;
  g.setTransform(ratio, 0, 0, ratio, 0, 0);
  return g;
}

export class Plot {
  readonly g: CanvasRenderingContext2D;
  readonly w: number;
  readonly h: number;

  constructor(readonly canvas: HTMLCanvasElement, readonly region: [number, number, number, number],
              readonly xName: string, readonly yName: string) {
    this.g = sizeCanvas(canvas);
    this.w = canvas.clientWidth;
    this.h = canvas.clientHeight;
  }

  px(x: number) {
    const [x1, , x2] = this.region;
    return x2 === x1 ? 0 : ((x - x1) / (x2 - x1)) * this.w;
  }
  py(y: number) {
    const [, y1, , y2] = this.region;
    return y2 === y1 ? 0 : ((y - y1) / (y2 - y1)) * this.h;
  }

  // Axes through zero (or the picture's edge), named at their ends.
  axes() {
    clearPlot(this);
    const g = this.g;
    g.strokeStyle = "#999";
    g.lineWidth = 1;
    const x0 = Math.min(Math.max(this.px(0), 0.5), this.w - 0.5);
    const y0 = Math.min(Math.max(this.py(0), 0.5), this.h - 0.5);
    g.beginPath();
    g.moveTo(0, y0);
    g.lineTo(this.w, y0);
    g.moveTo(x0, 0);
    g.lineTo(x0, this.h);
    g.stroke();
    g.fillStyle = "#333";
    g.font = "12px 'Liberation Serif', 'Times New Roman', serif";
    g.fillText(this.xName, this.w - 12, y0 - 4);
    g.fillText(this.yName, x0 + 4, 12);
  }

  line(xa: number, ya: number, xb: number, yb: number, colour: string) {
    const g = this.g;
    const a = [this.px(xa), this.py(ya)], b = [this.px(xb), this.py(yb)];
    if (![...a, ...b].every(Number.isFinite)) return;  // nothing non-finite reaches a painter
    g.strokeStyle = colour;
    g.lineWidth = 1;
    g.beginPath();
    g.moveTo(a[0], a[1]);
    g.lineTo(b[0], b[1]);
    g.stroke();
  }

  dot(x: number, y: number, r: number, colour: string) {
    const X = this.px(x), Y = this.py(y);
    if (!Number.isFinite(X) || !Number.isFinite(Y)) return;
    this.g.fillStyle = colour;
    this.g.beginPath();
    this.g.arc(X, Y, r, 0, 2 * Math.PI);
    this.g.fill();
  }
}

export function clearPlot(p: Plot) {
  p.g.fillStyle = "#fff";
  p.g.fillRect(0, 0, p.w, p.h);
}
