// The scenes that the browser test shows in both builds: the page (or desktop program), its
// number of windows, and the input, window by window (1: Subdivo's window or Revolva's
// editor; 2: Revolva's surface window). desktop_shots.sh plays the same input with xdotool.
export const editedControls =
  '0.1 0.1 0.3 1  0.2 0.4 0.9 1  1 1 1 1  20\n' +
  '-2 1 3 1  0.3 0.3 0.3 1  1 1 1 1  1 1 1 1\n';

export const scenes = {
  'subdivo-start': { page: 'subdivo.html', windows: 1, steps: [] },
  'subdivo-lit': { page: 'subdivo.html', windows: 1, steps: [{ window: 1, key: 'l' }] },
  'subdivo-level2': { page: 'subdivo.html', windows: 1,
    steps: [{ window: 1, key: '+' }, { window: 1, key: '+' }] },
  'subdivo-level2-lit': { page: 'subdivo.html', windows: 1,
    steps: [{ window: 1, key: '+' }, { window: 1, key: '+' }, { window: 1, key: 'l' }] },
  'subdivo-level2-wire': { page: 'subdivo.html', windows: 1,
    steps: [{ window: 1, key: '+' }, { window: 1, key: '+' }, { window: 1, key: 'w' }] },
  'subdivo-normals': { page: 'subdivo.html', windows: 1, steps: [{ window: 1, key: 'n' }] },
  'revolva-start': { page: 'revolva.html', windows: 2, steps: [] },
  'revolva-append': { page: 'revolva.html', windows: 2,
    steps: [{ window: 1, click: [150, 420], button: 'right' }] },
  'revolva-wire': { page: 'revolva.html', windows: 2, steps: [{ window: 2, key: 'w' }] },
  'revolva-wire-cull': { page: 'revolva.html', windows: 2,
    steps: [{ window: 2, key: 'w' }, { window: 2, key: 'k' }] },
  'revolva-controls': { page: 'revolva.html', windows: 2,
    steps: [{ controls: editedControls }, { window: 2, key: 'F1' }] },
};
