// A worker of the resonance curve: its own copy of the core computes the points it is
// given, one at a time, so the page's thread only receives rows and never waits.
import { Core } from "./core";

declare function importScripts(...urls: string[]): void;
importScripts("spcore.js");

interface Job {
  params: number[];  // the nine parameters in the order of the fields' ids
  k: number;
  beta: number;
}

const ready = Core.load(false);
self.onmessage = async (e: MessageEvent<Job>) => {
  const core = await ready;
  e.data.params.forEach((v, id) => core.setParameter(id, v));
  const row = core.sweepRow(e.data.beta);
  (self as unknown as Worker).postMessage({ k: e.data.k, row });
};
