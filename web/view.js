// The game's picture on the page, as the desktop shows it: the largest 4:3
// area of the stage (the whole window, or the screen in full screen), counted
// in device pixels, filled sharply: each of the 800 x 600 game pixels is
// enlarged by nearest neighbour to the smallest whole multiple at least that
// size (the canvas's own pixels) and the browser smooths that down to the
// area, so an edge is at most one device pixel soft. Where the area is a
// whole multiple nothing is smoothed at all.
'use strict';
var Kavrix = window.Kavrix || (window.Kavrix = {});
Kavrix.view = (function () {
  var kWidth = 800, kHeight = 600;
  var stage = document.getElementById('stage');
  var canvas = document.getElementById('canvas');
  var context = null;
  var frame = null;  // the last frame, 800 x 600, when the canvas is larger
  var frameContext = null;
  var area = {x: 0, y: 0, width: kWidth, height: kHeight, ratio: 1, factor: 1};

  // The largest 4:3 area of the stage in device pixels, centred, its corner
  // on a whole device pixel; and the whole factor of the canvas above it.
  function fit(stageWidth, stageHeight, ratio) {
    var deviceWidth = Math.floor(stageWidth * ratio), deviceHeight = Math.floor(stageHeight * ratio);
    var width = Math.min(deviceWidth, Math.floor(deviceHeight * 4 / 3));
    width -= width % 4;
    var height = width * 3 / 4;
    return {
      x: Math.floor((deviceWidth - width) / 2), y: Math.floor((deviceHeight - height) / 2),
      width: width, height: height, ratio: ratio, factor: Math.max(1, Math.ceil(width / kWidth)),
    };
  }

  function layout() {
    var ratio = window.devicePixelRatio || 1;
    area = fit(stage.clientWidth, stage.clientHeight, ratio);
    if (canvas.width !== kWidth * area.factor) {
      canvas.width = kWidth * area.factor;
      canvas.height = kHeight * area.factor;
      context = null;
    }
    canvas.style.left = (area.x / ratio) + 'px';
    canvas.style.top = (area.y / ratio) + 'px';
    canvas.style.width = (area.width / ratio) + 'px';
    canvas.style.height = (area.height / ratio) + 'px';
    redraw();
    if (Kavrix.touch) Kavrix.touch.layout();
  }

  function redraw() {
    if (!frame || canvas.width === kWidth) return;
    context = context || canvas.getContext('2d', {alpha: false});
    context.imageSmoothingEnabled = false;
    context.drawImage(frame, 0, 0, canvas.width, canvas.height);
  }

  // A frame from the game (RGBA bytes): straight onto an 800 x 600 canvas,
  // else through the frame canvas, enlarged by the whole factor.
  function present(pixels, width, height) {
    // SDL sets the canvas to the window's size when the game opens it.
    if (canvas.width !== kWidth * area.factor) layout();
    var image = new ImageData(pixels, width, height);
    if (canvas.width === width) {
      context = context || canvas.getContext('2d', {alpha: false});
      context.putImageData(image, 0, 0);
      return;
    }
    if (!frame) {
      frame = document.createElement('canvas');
      frame.width = width;
      frame.height = height;
      frameContext = frame.getContext('2d', {alpha: false});
    }
    frameContext.putImageData(image, 0, 0);
    redraw();
  }

  // A point of the page (CSS pixels) in game pixels, and whether it is on the picture.
  function gamePoint(clientX, clientY) {
    var box = canvas.getBoundingClientRect();
    var x = Math.floor((clientX - box.left) * kWidth / box.width);
    var y = Math.floor((clientY - box.top) * kHeight / box.height);
    return {x: x, y: y, inside: x >= 0 && y >= 0 && x < kWidth && y < kHeight};
  }

  window.addEventListener('resize', layout);
  document.addEventListener('fullscreenchange', layout);
  // A change of the device pixel ratio (the page zoomed, the window moved to
  // another screen) does not always resize the window.
  (function watchRatio() {
    var query = window.matchMedia && window.matchMedia('(resolution: ' + (window.devicePixelRatio || 1) + 'dppx)');
    if (!query || !query.addEventListener) return;
    query.addEventListener('change', function once() {
      query.removeEventListener('change', once);
      layout();
      watchRatio();
    });
  })();
  layout();

  return {
    layout: layout,
    present: present,
    gamePoint: gamePoint,
    fit: fit,
    // Where the picture is, in device pixels, and the canvas's own size (tests).
    area: function () { return {x: area.x, y: area.y, width: area.width, height: area.height,
                                canvasWidth: canvas.width, canvasHeight: canvas.height, ratio: area.ratio}; },
  };
})();
