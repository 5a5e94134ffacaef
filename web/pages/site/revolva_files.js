'use strict';
// The curve panel of the Revolva page: open a curve file (or a sample curve of the site) into
// the editor, save the edited curve, download its surface as OBJ or STL. The work is done by
// the program's own C++ (web/pages/revolva_files.cpp); text passes through its file system in /page/.

function curvePanel(program) {
  const status = document.getElementById('curve-status');
  const say = (text) => { status.textContent = text; };
  const message = () => program.FS.readFile('/page/message.txt', { encoding: 'utf8' });
  const pageFolder = () => { if (!program.FS.analyzePath('/page').exists) program.FS.mkdir('/page'); };

  function openCurveText(text, name) {
    pageFolder();
    program.FS.writeFile('/page/curve.txt', text);
    const opened = program._revolvaOpenCurveFile() === 1;
    if (opened && typeof showEditorFigures === 'function') showEditorFigures();
    say(opened ? `${name}: ${message()}` : `${name} not opened: ${message()}`);
  }

  function download(bytes, name, type) {
    const link = document.createElement('a');
    link.href = URL.createObjectURL(new Blob([bytes], { type }));
    link.download = name;
    document.body.appendChild(link);
    link.click();
    link.remove();
    setTimeout(() => URL.revokeObjectURL(link.href), 10000);
  }

  function downloadMesh(stl) {
    const caps = document.getElementById('mesh-caps').checked ? 1 : 0;
    const round = document.getElementById('mesh-round').checked ? 1 : 0;
    const written = program._revolvaWriteMeshFile(stl ? 1 : 0, caps, round) === 1;
    say((written ? (stl ? 'revolva.stl: ' : 'revolva.obj: ') : 'nothing written: ') + message());
    if (!written) return;
    const path = stl ? '/page/mesh.stl' : '/page/mesh.obj';
    download(program.FS.readFile(path), stl ? 'revolva.stl' : 'revolva.obj',
      stl ? 'model/stl' : 'model/obj');
  }

  const picker = document.getElementById('curve-file');
  document.getElementById('open-curve').addEventListener('click', () => picker.click());
  picker.addEventListener('change', async () => {
    const file = picker.files[0];
    if (file) {
      const bytes = new Uint8Array(await file.arrayBuffer());
      const notText = notTextReason(bytes);
      if (notText) say(`not a text file: ${file.name} (${notText}); the curve is kept`);
      else openCurveText(new TextDecoder().decode(bytes), file.name);
    }
    picker.value = '';
  });
  const samples = document.getElementById('sample-curve');
  samples.addEventListener('change', async () => {
    const name = samples.value;
    samples.value = '';
    if (!name) return;
    const response = await fetch(`curves/${name}.curve`);
    if (response.ok) openCurveText(await response.text(), `${name}.curve`);
    else say(`${name}.curve not found on the site`);
  });
  document.getElementById('save-curve').addEventListener('click', () => {
    pageFolder();
    program._revolvaSaveCurveFile();
    download(program.FS.readFile('/page/curve.txt', { encoding: 'utf8' }), 'revolva.curve',
      'text/plain');
    say('revolva.curve saved');
  });
  document.getElementById('download-obj').addEventListener('click', () => downloadMesh(false));
  document.getElementById('download-stl').addEventListener('click', () => downloadMesh(true));
}
