// The browser's backend, its JavaScript half: what web_host.cpp asks of the page.
mergeInto(LibraryManager.library, {
  // Shows a picture of width x height pixels of R, G, B, A bytes on the page's canvas. SDL's Web
  // Audio output, which plays the sound, needs the two functions named here from the library.
  WebShowPicture__deps: ['$autoResumeAudioContext', '$dynCall'],
  WebShowPicture: function (rgba, width, height) {
    if (Module['murkoShow']) Module['murkoShow'](HEAPU8.subarray(rgba, rgba + width * height * 4));
  },

  // Milliseconds of the wall clock, wrapping at 2^32: each start draws another seed.
  WebWallClockMs: function () {
    return Date.now() >>> 0;
  },
});
