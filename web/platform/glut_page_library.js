// The two things the web build's GLUT asks of the page (linked with --js-library): showing a
// window's title, given as Windows-1252 bytes, and the pointer's shape over a window.
mergeInto(LibraryManager.library, {
  webGlutShowTitle: function (id, bytes, length) {
    const text = new TextDecoder('windows-1252').decode(HEAPU8.subarray(bytes, bytes + length));
    if (Module['glutWindowTitle']) Module['glutWindowTitle'](id, text);
  },
  webGlutShowCursor: function (id, crosshair) {
    const canvas = document.getElementById('window' + id);
    if (canvas) canvas.style.cursor = crosshair ? 'crosshair' : 'default';
  },
});
