// What Subdivo's page part asks of the page (linked with --js-library): a step of a level's
// build told to the worker's script, which passes it on to the page.
mergeInto(LibraryManager.library, {
  webSubdivoTellStep: function (step, level, faces, vertices) {
    if (Module['onLevelStep']) Module['onLevelStep'](step, level, faces, vertices);
  },
});
