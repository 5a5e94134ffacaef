// Builds one subdivision level of Subdivo off the page's thread: the same program (subdivo.js
// and its WebAssembly), started without its main, takes the packed base model, runs the level
// driver of its page part and hands the level back packed, as a transferable ArrayBuffer. The
// page starts a worker per build and ends it to cancel, which also gives its memory back.
//   in:  { base: ArrayBuffer, level, scheme, memoryLimit (MiB, 0 for none) }
//   out: { print, error } per line of output, { step, level, faces, vertices } per step,
//        then { done: true, model: ArrayBuffer or null (refused) }
'use strict';
importScripts('subdivo.js');

onmessage = async (event) => {
  const { base, level, scheme, memoryLimit } = event.data;
  const program = await createSubdivo({
    noInitialRun: true,
    print: (text) => postMessage({ print: text, error: false }),
    printErr: (text) => postMessage({ print: text, error: true }),
    onLevelStep: (step, stepLevel, faces, vertices) => postMessage({ step, level: stepLevel, faces, vertices }),
  });
  if (memoryLimit > 0) program._webSubdivoLimitMemory(memoryLimit);
  const at = program._malloc(base.byteLength) >>> 0;
  if (at === 0) {
    postMessage({ print: 'Subdivision level ' + level + ' not built: out of memory.', error: true });
    postMessage({ done: true, model: null });
    return;
  }
  program.HEAPU8.set(new Uint8Array(base), at);
  const packed = program._webSubdivoBuildLevel(at, level, scheme) >>> 0;
  if (packed === 0) {
    postMessage({ done: true, model: null });
    return;
  }
  const bytes = program._webSubdivoPackedBytes(packed);
  const model = program.HEAPU8.slice(packed, packed + bytes).buffer;
  program._free(packed);
  postMessage({ done: true, model }, [model]);
};
