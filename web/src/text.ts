// The pictures' texts in the browser's fonts, for the core's text seam (web/text_seam.cpp):
// measured on a canvas of our own, drawn there in black and laid into the picture's pixels
// by their coverage in the colour asked for. Sizes are points at 96 dots per inch.

function family(font: string): string {
  const name = font.toLowerCase();
  if (name === "ms sans serif") return "'Liberation Sans', Arial, sans-serif";
  return "'Liberation Serif', 'Times New Roman', Times, serif";
}

// Where texts were drawn, in image pixels of the picture at `pixels`: the tests compare
// the pictures with the window's everywhere else.
export const textCells: { pixels: number; x: number; y: number; width: number; height: number }[] = [];

const scratch = new OffscreenCanvas(1, 1);
const g = scratch.getContext("2d", { willReadFrequently: true })!;

function metrics(font: string, points: number, ratio: number, text: string) {
  g.font = `${(points * 96) / 72 * ratio}px ${family(font)}`;
  const m = g.measureText(text);
  return { advance: m.width / ratio, ascent: m.fontBoundingBoxAscent / ratio,
           height: (m.fontBoundingBoxAscent + m.fontBoundingBoxDescent) / ratio };
}

// [advance, ascent, height] in logical pixels
export function measureText(font: string, points: number, text: string): number[] {
  const m = metrics(font, points, 1, text);
  return [text === "" ? 0 : m.advance, m.ascent, m.height];
}

// Draws text with its cell's top-left corner at (x, y) logical pixels into the picture of
// width × height image pixels at `pixels` in `heap`; returns the cell [x, y, width, height].
export function drawText(heap: () => Uint32Array, pixels: number, width: number, height: number,
                         ratio: number, font: string, points: number, x: number, y: number,
                         rgb: number, text: string): number[] {
  const m = metrics(font, points, ratio, text);
  const w = Math.ceil(m.advance * ratio) + 2, h = Math.ceil(m.height * ratio) + 2;
  const left = Math.floor(x * ratio), top = Math.floor(y * ratio);
  if (text === "" || w <= 2 || h <= 2) return [x, y, 0, m.height];
  if (scratch.width < w || scratch.height < h) {
    scratch.width = Math.max(scratch.width, w);
    scratch.height = Math.max(scratch.height, h);
  }
  g.setTransform(1, 0, 0, 1, 0, 0);
  g.clearRect(0, 0, w, h);
  g.font = `${(points * 96) / 72 * ratio}px ${family(font)}`;
  g.fillStyle = "#000";
  g.textBaseline = "alphabetic";
  g.fillText(text, x * ratio - left, y * ratio - top + m.ascent * ratio);
  const coverage = g.getImageData(0, 0, w, h).data;
  textCells.push({ pixels, x: left, y: top, width: w, height: h });
  if (textCells.length > 2000) textCells.splice(0, 1000);
  const image = heap();
  const base = pixels >>> 2;
  const r = (rgb >>> 16) & 255, gr = (rgb >>> 8) & 255, b = rgb & 255;
  for (let j = 0; j < h; ++j) {
    const py = top + j;
    if (py < 0 || py >= height) continue;
    for (let i = 0; i < w; ++i) {
      const px = left + i;
      const a = coverage[(j * w + i) * 4 + 3] / 255;
      if (px < 0 || px >= width || a === 0) continue;
      const at = base + py * width + px;
      const v = image[at];
      const mix = (dst: number, src: number) => Math.round(dst + (src - dst) * a);
      image[at] = (0xff000000 | (mix((v >>> 16) & 255, r) << 16) | (mix((v >>> 8) & 255, gr) << 8) |
                   mix(v & 255, b)) >>> 0;
    }
  }
  return [x, y, m.advance, m.height];
}
