// The page in headless Chromium against the desktop's core: runs started from the page give
// the tool's CSV byte for byte, the fields read texts as the window's fields do, the curve's
// CSV is the tool's --sweep, a cancelled curve ends its workers, and the WebAssembly build's
// sine gives the native bits. Screenshots at device pixel ratios 1 and 2 are left in OUT for
// a person to look at, with the times it took to show the first picture.
//
//   node web/tests/page.test.mjs ROOT   (ROOT: the source tree, built natively and for the web)
import { execFileSync } from "node:child_process";
import { createServer } from "node:http";
import { existsSync, mkdirSync, mkdtempSync, readFileSync, readdirSync, rmSync, writeFileSync } from "node:fs";
import { tmpdir } from "node:os";
import { extname, join, resolve } from "node:path";
import puppeteer from "puppeteer-core";

const root = resolve(process.argv[2] ?? ".");
const site = join(root, "build/web");
const tool = join(root, "build/bin/spring-pendulum-trace");
const reference = join(root, "build/tests/sp_web_reference");
const out = join(root, "build/web-test");
mkdirSync(out, { recursive: true });

let failures = 0;
function check(ok, what) {
  console.log(`${ok ? "ok  " : "FAIL"} ${what}`);
  if (!ok) failures++;
}

// Waits for a condition, polling, up to a deadline; the test never sleeps a fixed time.
async function until(f, what, seconds = 120) {
  const end = Date.now() + seconds * 1000;
  for (;;) {
    const v = await f();
    if (v) return v;
    if (Date.now() > end) throw new Error(`timed out waiting for ${what}`);
    await new Promise((r) => setTimeout(r, 20));
  }
}

const types = { ".html": "text/html", ".js": "text/javascript", ".wasm": "application/wasm",
                ".css": "text/css", ".tsv": "text/tab-separated-values", ".png": "image/png" };
const server = createServer((req, res) => {
  const path = join(site, decodeURIComponent(new URL(req.url, "http://x").pathname));
  const file = path.endsWith("/") ? join(path, "index.html") : path;
  if (!file.startsWith(site) || !existsSync(file)) {
    res.writeHead(404).end();
    return;
  }
  res.writeHead(200, { "Content-Type": types[extname(file)] ?? "application/octet-stream" });
  res.end(readFileSync(file));
});
await new Promise((r) => server.listen(0, "127.0.0.1", r));
const base = `http://127.0.0.1:${server.address().port}/`;

const profile = mkdtempSync(join(tmpdir(), "sp-chromium-"));
const downloads = mkdtempSync(join(tmpdir(), "sp-downloads-"));
const browser = await puppeteer.launch({
  executablePath: "/usr/bin/chromium",
  headless: true,
  userDataDir: profile,
  args: ["--no-sandbox", "--disable-gpu", "--disable-background-networking", "--disable-component-update",
         "--disable-sync", "--no-first-run"],
});

// The field each parameter id is typed into (web/src/main.ts)
const kFieldOf = ["Text1", "Text4", "Text7", "Text8", "Text2", "Text3", "Text5", "Text6", "Text9"];
const kIdOf = { alpha: 0, beta: 1, Xm: 2, DYg: 3, Xo: 4, Vox: 5, Yo: 6, Voy: 7, Tmax: 8 };

async function openPage(query = "?pace=0", ratio = 1) {
  const page = await browser.newPage();
  await page.setViewport({ width: 1100, height: 700, deviceScaleFactor: ratio });
  const cdp = await page.createCDPSession();
  await cdp.send("Browser.setDownloadBehavior", { behavior: "allow", downloadPath: downloads });
  await page.goto(base + query);
  await page.waitForSelector("body[data-ready]");
  return page;
}

// A whole text put in a field at once, as pasting it does.
async function typeInto(page, id, text) {
  return page.$eval(`#${kFieldOf[id]}`, (el, t) => {
    el.value = t;
    el.dispatchEvent(new Event("input"));
    return el.value;
  }, text);
}

async function menu(page, summary, button) {
  await page.$eval(`#${summary}`, (d) => { d.open = true; });
  await page.click(`#${button}`);
}

async function downloaded(name) {
  const file = join(downloads, name);
  await until(() => existsSync(file) && !existsSync(file + ".crdownload"), name);
  const bytes = readFileSync(file);
  rmSync(file);
  return bytes;
}

try {
  // --- the sine of both builds ---
  const wasmSine = execFileSync("node", ["--no-experimental-fetch", join(root, "build-wasm/web/sp_sine_checksum.js")])
    .toString().trim();
  const nativeSine = execFileSync(reference, ["--sine-checksum"]).toString().trim();
  check(wasmSine === nativeSine, `the sine's checksum is the same in both builds (${wasmSine})`);

  // --- runs ---
  const runs = [
    ["defaults (a chaotic start)", {}],
    ["strong damping", { alpha: "0.3" }],
    ["chaotic, long", { beta: "0.52", Tmax: "600" }],
    ["beta = 0", { beta: "0" }],
  ];
  for (const [name, fields] of runs) {
    const page = await openPage();
    for (const [param, text] of Object.entries(fields)) await typeInto(page, kIdOf[param], text);
    await page.click("#CmdOK");
    await until(() => page.$eval("#CmdOK", (b) => b.textContent === "ПУСК" && !!document.getElementById("status").textContent),
                `the end of the run (${name})`);
    await menu(page, "mnuFile", "mnuFileSaveRun");
    const csv = await downloaded("run.csv");
    const args = Object.entries(fields).map(([k, v]) => `--${k}=${v}`);
    const expected = execFileSync(tool, args, { maxBuffer: 1 << 30 });
    check(csv.equals(expected), `a run from the page is the tool's CSV byte for byte: ${name} (${expected.length} bytes)`);
    await page.close();
  }

  // --- the fields' rule on the fuzz corpus of field texts ---
  {
    const page = await openPage();
    const corpus = join(root, "fuzz/corpus/field_edit");
    const entries = readdirSync(corpus).sort().map((f) => {
      const bytes = readFileSync(join(corpus, f));
      return { f, id: ((bytes[0] - 48) & 255) % 9, text: new TextDecoder().decode(bytes.subarray(1)) };
    }).filter((e) => e.text !== undefined);
    const seen = await page.evaluate((entries, fieldOf) => entries.map((e) => {
      const el = document.getElementById(fieldOf[e.id]);
      const box = document.getElementById("messages");
      box.textContent = "";
      el.value = e.text;
      const typed = el.value;  // what a text field keeps of it (no line breaks)
      el.dispatchEvent(new Event("input"));
      return { typed, after: el.value, warned: box.textContent !== "" };
    }), entries, kFieldOf);
    // the same texts through the native build's rule
    const dir = mkdtempSync(join(tmpdir(), "sp-fields-"));
    const files = entries.map((e, i) => {
      const file = join(dir, String(i));
      writeFileSync(file, Buffer.concat([Buffer.from([48 + e.id]), Buffer.from(seen[i].typed, "utf8")]));
      return file;
    });
    const lines = execFileSync(reference, files).toString().split("\n").filter((l) => l !== "");
    let agree = 0;
    lines.forEach((line, i) => {
      const [, , text, faults] = line.split("\t");
      const ok = text === seen[i].after && (faults !== "") === seen[i].warned;
      if (ok) agree++;
      else console.log(`     ${entries[i].f}: desktop ${JSON.stringify(text)} ${faults}, page ${JSON.stringify(seen[i].after)} ${seen[i].warned}`);
    });
    rmSync(dir, { recursive: true });
    check(agree === entries.length && lines.length === entries.length,
          `the fields agree with the desktop's on ${agree} of ${entries.length} corpus texts`);
    await page.close();
  }

  // --- the resonance curve: the tool's --sweep, the page free meanwhile, cancel ---
  {
    const page = await openPage();
    await page.evaluate(() => {
      window.longTasks = [];
      new PerformanceObserver((l) => window.longTasks.push(...l.getEntries().map((e) => e.duration)))
        .observe({ type: "longtask" });
    });
    await menu(page, "mnuExperiments", "mnuExperimentsCurve");
    const set = (id, v) => page.$eval(`#${id}`, (el, v) => { el.value = v; }, v);
    await set("curveFrom", "0.2");
    await set("curveTo", "2");
    await set("curvePoints", "24");
    await page.click("#curveStart");
    await until(() => page.$eval("#curveState", (s) => s.textContent === "Готово"), "the curve");
    await page.screenshot({ path: join(out, "curve.png") });
    await page.click("#curveSaveCsv");
    const csv = await downloaded("resonance.csv");
    const expected = execFileSync(tool, ["--sweep=0.2:2:24"]);
    check(csv.equals(expected), "the curve's CSV is the tool's --sweep byte for byte");
    if (!csv.equals(expected)) writeFileSync(join(out, "resonance-page.csv"), csv);
    const longest = await page.evaluate(() => Math.max(0, ...window.longTasks));
    console.log(`     longest task on the page's thread while the curve computed: ${longest.toFixed(0)} ms`);

    await set("curvePoints", "5000");
    await page.click("#curveStart");
    await until(() => page.$eval("#curveProgress", (p) => p.value >= 2), "the first points of a long curve");
    const before = page.workers().length;
    // the time from the click's event to the workers' end, on the page's clock
    const acted = await page.evaluate(() => {
      const clicked = performance.now();
      document.getElementById("curveCancel").click();
      return performance.getEntriesByName("curve-ended").at(-1).startTime - clicked;
    });
    await until(() => page.workers().length === 0, "the workers to end", 10);
    const frozen = await page.$eval("#curveProgress", (p) => p.value);
    console.log(`     cancel: ${before} workers terminated ${acted.toFixed(1)} ms after the click`);
    check(before > 0 && frozen < 5000 &&
          (await page.$eval("#curveState", (s) => s.textContent)) === "Отменено", "cancel ends the curve's workers");
    await page.close();
  }

  // --- the pictures: the tool's, but where a text is drawn in another font ---
  for (const steps of [0, 7500]) {
    const dir = mkdtempSync(join(tmpdir(), "sp-png-"));
    execFileSync(tool, [`--png=${dir}`, "--client=560x484", `--steps=${steps}`]);
    const page = await openPage("?pace=0&client=560x484");
    if (steps > 0) {
      await page.click("#CmdOK");
      await until(() => page.$eval("#CmdOK", (b) => b.textContent === "ПУСК" && !!document.getElementById("status").textContent),
                  "the end of the run");
    }
    await page.$eval("#Form3", (d) => d.show());
    for (const [canvas, png] of [["Picture1", "plane"], ["Picture2", "animation"], ["Picture3", "xt"],
                                 ["Picture4", "yt"], ["Picture5", "magnifier"]]) {
      const data = readFileSync(join(dir, `${png}.png`)).toString("base64");
      const [differ, total, outside] = await page.evaluate(async (id, data) => {
        const img = new Image();
        img.src = `data:image/png;base64,${data}`;
        await img.decode();
        const c = document.getElementById(id);
        const mine = c.getContext("2d").getImageData(0, 0, c.width, c.height).data;
        const t = new OffscreenCanvas(img.width, img.height).getContext("2d");
        t.drawImage(img, 0, 0);
        const theirs = t.getImageData(0, 0, img.width, img.height).data;
        if (img.width !== c.width || img.height !== c.height) return [-1, 0, -1];
        // a text cell and 3 pixels around it: another font's glyphs reach a little further;
        // the animation has the plane's as its background, copied whole
        const index = Number(id.slice(-1)) - 1;
        const cells = window.page.core.textCellsOf(index).concat(index === 1 ? window.page.core.textCellsOf(0) : []);
        const inText = (x, y) => cells.some((t) => x >= t.x - 3 && x < t.x + t.width + 3 && y >= t.y - 3 && y < t.y + t.height + 3);
        let n = 0, out = 0;
        for (let i = 0; i < mine.length; i += 4)
          if (mine[i] !== theirs[i] || mine[i + 1] !== theirs[i + 1] || mine[i + 2] !== theirs[i + 2]) {
            n++;
            if (!inText((i / 4) % c.width, Math.floor(i / 4 / c.width))) out++;
          }
        return [n, mine.length / 4, out];
      }, canvas, data);
      check(differ >= 0 && outside === 0,
            `${png}.png after ${steps} steps: the page's pixels are the tool's but in texts (${differ} of ${total} pixels there)`);
    }
    rmSync(dir, { recursive: true });
    await page.close();
  }

  // --- «Опыты» from the guide's table, the guides from the menu ---
  {
    const page = await openPage();
    await until(() => page.$("#mnuExperiment_2"), "the experiments menu");
    await menu(page, "mnuExperiments", "mnuExperiment_2");
    const row = readFileSync(join(root, "docs/experiments.tsv"), "utf8").split("\n").find((l) => l.startsWith("2\t")).split("\t");
    const shown = await page.evaluate((fieldOf) => fieldOf.map((f) => Number(document.getElementById(f).value)), kFieldOf);
    const time = await page.$eval("#Option2", (o) => o.checked);
    const zoom = await page.$eval("#VScroll1", (v) => v.value);
    check(shown.every((v, id) => Math.abs(v - Number(row[2 + id])) < 1e-8) && time && zoom === row[12],
          "an experiment from the menu sets the fields, the graphs and the zoom its row of the table gives");
    // An experiment whose empty cells keep the start-up values themselves (DYg = 1/3), run:
    // the tool given the row's other cells computes the same run.
    const table = readFileSync(join(root, "docs/experiments.tsv"), "utf8").split("\n");
    const names = table[0].split("\t");
    const first = table.find((l) => l.startsWith("1\t")).split("\t");
    await menu(page, "mnuExperiments", "mnuExperiment_1");
    await page.click("#CmdOK");
    await until(() => page.$eval("#CmdOK", (b) => b.textContent === "ПУСК" && !!document.getElementById("status").textContent),
                "the end of the experiment's run");
    await menu(page, "mnuFile", "mnuFileSaveRun");
    const args = names.slice(2, 11).map((n, i) => [n, first[2 + i]]).filter(([, v]) => v !== "").map(([n, v]) => `--${n}=${v}`);
    check((await downloaded("run.csv")).equals(execFileSync(tool, args, { maxBuffer: 1 << 30 })),
          `the experiment's run is the tool's CSV byte for byte (${args.join(" ")})`);
    const guides = await page.evaluate(async () => {
      const links = [...document.querySelectorAll("#mnuHelp a")].map((a) => a.href);
      const pages = await Promise.all(links.map(async (l) => [l, (await fetch(l)).ok]));
      const guide = new DOMParser().parseFromString(await (await fetch("docs/spravka2.html")).text(), "text/html");
      const figures = await Promise.all([...guide.images].map(async (i) =>
        [i.getAttribute("src"), (await fetch("docs/" + i.getAttribute("src"))).ok]));
      return [...pages, ...figures].filter(([, ok]) => !ok).map(([l]) => l);
    });
    check(guides.length === 0, `the guides and their figures open from the menu${guides.length ? " but " + guides.join(", ") : ""}`);
    await page.close();
  }

  // --- keyboard and screen reader: every control by Tab, each with a name ---
  {
    const page = await openPage();
    const reached = new Set();
    for (let i = 0; i < 40; ++i) {
      await page.keyboard.press("Tab");
      reached.add(await page.evaluate(() => document.activeElement?.id || document.activeElement?.closest("details")?.id));
    }
    const wanted = ["mnuFile", "mnuExperiments", "mnuHelp", ...kFieldOf, "CmdOK", "HScroll1", "Option1", "Command1", "HScroll2"];
    const missed = wanted.filter((id) => !reached.has(id));
    check(missed.length === 0, `every control is reached by Tab${missed.length ? " but " + missed.join(", ") : ""}`);
    const unnamed = [];
    const walk = (node) => {
      if (["button", "textbox", "slider", "radio", "link", "checkbox", "combobox", "DisclosureTriangle"].includes(node.role) &&
          !node.name) unnamed.push(node.role);
      for (const child of node.children ?? []) walk(child);
    };
    walk(await page.accessibility.snapshot());
    check(unnamed.length === 0, `every control has a name${unnamed.length ? " but " + unnamed.join(", ") : ""}`);
    await page.close();
  }

  // --- what a person looks at ---
  for (const ratio of [1, 2]) {
    const page = await openPage("", ratio);
    const first = await page.evaluate(() => performance.getEntriesByName("first-picture")[0].startTime);
    console.log(`     first picture ${first.toFixed(0)} ms after the start of loading (ratio ${ratio})`);
    await page.screenshot({ path: join(out, `page-dpr${ratio}.png`) });
    // a short run at the window's pace: 10 ms a step at slow-down 1, the phase portrait open
    await typeInto(page, kIdOf.Tmax, "4");
    await menu(page, "mnuExperiments", "mnuExperimentsPortrait");
    await page.click("#CmdOK");
    await until(() => page.$eval("#CmdOK", (b) => b.textContent === "ПУСК" && !!document.getElementById("status").textContent),
                "the end of a paced run");
    const [steps, pace] = await page.evaluate(() => {
      const n = Number(document.getElementById("status").textContent.replace(/\D/g, ""));
      const ms = performance.getEntriesByName("run-end")[0].startTime - performance.getEntriesByName("run-start")[0].startTime;
      return [n, ms / n / 10];
    });
    console.log(`     a paced run of ${steps} steps took ${pace.toFixed(3)} × 10 ms a step`);
    await page.screenshot({ path: join(out, `page-run-dpr${ratio}.png`) });
    await (await page.$("#portraitDialog")).screenshot({ path: join(out, `portrait-dpr${ratio}.png`) });
    await page.click("#portraitClose");
    await page.click("#Option2");
    await page.screenshot({ path: join(out, `page-time-dpr${ratio}.png`) });
    await page.close();
  }
} catch (e) {
  console.log(`FAIL ${e.stack ?? e}`);
  failures++;
} finally {
  await browser.close();
  server.close();
  rmSync(profile, { recursive: true, force: true });
  rmSync(downloads, { recursive: true, force: true });
}
console.log(failures === 0 ? "all page tests passed" : `${failures} page test(s) failed`);
process.exit(failures === 0 ? 0 : 1);
