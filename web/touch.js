// Touch controls, shown only on a touch screen. In play: a finger anywhere
// on the field flies the ship, relative to where it came down (past a few
// pixels each way it holds that direction, as the arrow keys do); the fire
// button fires while held, 1 2 3 use the carried items, ↵ is Enter (the
// commander's next line), Esc opens the menu. Flying and firing at once take
// two fingers. Elsewhere a tap is a click; the name field of the New Game
// page brings up the on-screen keyboard, whose text is typed into the game.
// The game tells which controls its scene wants (Module.kavrixControls); the
// controls reach it through the kavrix_page_* functions (page_controls_browser.cpp).
'use strict';
var Kavrix = window.Kavrix || (window.Kavrix = {});
Kavrix.touch = (function () {
  var kDeadZone = 12;      // CSS pixels a flying finger moves before it holds a direction
  var kReach = 48;         // past this the point it counts from follows the finger
  var kTapSlop = 14;       // a finger that moved further made no tap
  var kUp = 1, kDown = 2, kLeft = 4, kRight = 8;  // the game's input states 0 to 3
  var Mode = {pointer: 0, flight: 1, typing: 2};

  var stage = document.getElementById('stage');
  var layer = document.getElementById('touch');
  var nameField = document.getElementById('touch-name');
  var isTouchScreen = (navigator.maxTouchPoints || 0) > 0 || 'ontouchstart' in window;
  var game = null;          // the Module, once the game runs
  var mode = Mode.pointer;
  var field = null;         // the name field's rectangle in game pixels, while its page is open
  var fingers = {};         // by touch identifier: what each finger does
  var sentStates = -1, typed = '';

  if (isTouchScreen) document.documentElement.classList.add('touch-screen');

  function send(name, args) {
    if (game && game['_' + name]) game['_' + name].apply(null, args);
  }

  function sendStates() {
    var states = 0;
    for (var id in fingers) {
      var finger = fingers[id];
      if (finger.kind === 'button') states |= finger.states;
      if (finger.kind === 'fly') states |= finger.direction;
    }
    if (states === sentStates) return;
    sentStates = states;
    send('kavrix_page_states', [states]);
  }

  function steer(finger, x, y) {
    var dx = x - finger.x, dy = y - finger.y, distance = Math.sqrt(dx * dx + dy * dy);
    if (distance > kReach) {  // the centre follows, so turning back answers at once
      finger.x = x - dx * kReach / distance;
      finger.y = y - dy * kReach / distance;
      dx = x - finger.x;
      dy = y - finger.y;
    }
    finger.direction = (dx > kDeadZone ? kRight : dx < -kDeadZone ? kLeft : 0) |
                       (dy > kDeadZone ? kDown : dy < -kDeadZone ? kUp : 0);
  }

  function inField(point) {
    return field && point.x > field.left && point.x < field.right && point.y > field.top && point.y < field.bottom;
  }

  function fingerDown(touch) {
    var button = touch.target && touch.target.closest && touch.target.closest('[data-states],[data-character]');
    if (button && layer.contains(button)) {
      fingers[touch.identifier] = {kind: 'button', states: Number(button.dataset.states || 0), element: button};
      button.classList.add('held');
      if (button.dataset.character) send('kavrix_page_character', [Number(button.dataset.character)]);
      return;
    }
    if (mode === Mode.flight) {
      for (var id in fingers) if (fingers[id].kind === 'fly') return;  // one finger flies
      fingers[touch.identifier] = {kind: 'fly', x: touch.clientX, y: touch.clientY, direction: 0};
      return;
    }
    var point = Kavrix.view.gamePoint(touch.clientX, touch.clientY);
    fingers[touch.identifier] = {kind: 'point', x: touch.clientX, y: touch.clientY, moved: false};
    if (point.inside) send('kavrix_page_pointer', [point.x, point.y, 0]);
  }

  function fingerMoved(touch) {
    var finger = fingers[touch.identifier];
    if (!finger) return;
    if (finger.kind === 'fly') steer(finger, touch.clientX, touch.clientY);
    if (finger.kind !== 'point') return;
    if (Math.abs(touch.clientX - finger.x) > kTapSlop || Math.abs(touch.clientY - finger.y) > kTapSlop)
      finger.moved = true;
    var point = Kavrix.view.gamePoint(touch.clientX, touch.clientY);
    if (point.inside) send('kavrix_page_pointer', [point.x, point.y, 0]);
  }

  function fingerUp(touch, cancelled) {
    var finger = fingers[touch.identifier];
    if (!finger) return;
    delete fingers[touch.identifier];
    if (finger.kind === 'button') finger.element.classList.remove('held');
    if (finger.kind !== 'point' || finger.moved || cancelled) return;
    var point = Kavrix.view.gamePoint(touch.clientX, touch.clientY);
    if (!point.inside) return;
    send('kavrix_page_pointer', [point.x, point.y, 1]);
    // The keyboard opens only from within the player's own tap.
    if (inField(point)) startTyping();
  }

  // Every touch on the stage is the game's: taken before SDL's handlers on
  // the canvas see it, and kept from scrolling, zooming or becoming a mouse click.
  function onTouch(event) {
    if (!game) return;
    event.preventDefault();
    event.stopPropagation();
    for (var i = 0; i < event.changedTouches.length; i++) {
      var touch = event.changedTouches[i];
      if (event.type === 'touchstart') fingerDown(touch);
      else if (event.type === 'touchmove') fingerMoved(touch);
      else fingerUp(touch, event.type === 'touchcancel');
    }
    sendStates();
  }
  ['touchstart', 'touchmove', 'touchend', 'touchcancel'].forEach(function (type) {
    stage.addEventListener(type, onTouch, {capture: true, passive: false});
  });

  // --- The on-screen keyboard: a field that mirrors the typed name -----------
  function startTyping() {
    if (document.activeElement === nameField) return;
    typed = '';
    nameField.value = '';
    nameField.focus({preventScroll: true});
  }

  function stopTyping() {
    if (document.activeElement === nameField) nameField.blur();
  }

  // What the field holds now against what the game was sent: Backspace for
  // each character gone, then the new ones (autocorrection rewrites words).
  function typeChanges() {
    var now = Array.from(nameField.value), before = Array.from(typed), same = 0;
    while (same < now.length && same < before.length && now[same] === before[same]) same++;
    for (var i = same; i < before.length; i++) send('kavrix_page_character', [8]);
    for (var j = same; j < now.length; j++) send('kavrix_page_character', [now[j].codePointAt(0)]);
    typed = nameField.value;
  }
  nameField.addEventListener('input', function (event) {
    if (!event.isComposing) typeChanges();
  });
  nameField.addEventListener('compositionend', typeChanges);
  // Keys pressed into the field are the field's (SDL listens on the window).
  ['keydown', 'keypress', 'keyup'].forEach(function (type) {
    nameField.addEventListener(type, function (event) {
      event.stopPropagation();
      if (type !== 'keydown' || event.isComposing) return;
      if (event.key === 'Enter' || event.key === 'Escape') {
        event.preventDefault();
        send('kavrix_page_character', [event.key === 'Enter' ? 13 : 27]);
      }
    });
  });

  // --- What the game's scene wants -------------------------------------------
  function show() {
    layer.hidden = !(isTouchScreen && game);
    layer.className = mode === Mode.flight ? 'flight' : 'pointer';
    layout();
  }

  // The name's field lies over the game's, so the page does not scroll to it.
  function layout() {
    if (!field) return;
    var box = document.getElementById('canvas').getBoundingClientRect();
    var stageBox = stage.getBoundingClientRect();
    nameField.style.left = (box.left - stageBox.left + field.left * box.width / 800) + 'px';
    nameField.style.top = (box.top - stageBox.top + field.top * box.height / 600) + 'px';
    nameField.style.width = ((field.right - field.left) * box.width / 800) + 'px';
    nameField.style.height = ((field.bottom - field.top) * box.height / 600) + 'px';
  }

  function controls(newMode, left, top, right, bottom) {
    mode = newMode;
    field = right > left ? {left: left, top: top, right: right, bottom: bottom} : null;
    if (mode === Mode.typing && isTouchScreen) startTyping();
    if (mode !== Mode.typing) stopTyping();
    // Fingers flying or on the play's buttons let go when play ends.
    if (mode !== Mode.flight) {
      for (var id in fingers) if (fingers[id].kind === 'fly') delete fingers[id];
    }
    sendStates();
    show();
  }

  return {
    isTouchScreen: isTouchScreen,
    layout: layout,
    // The game runs: its Module receives the controls from now on.
    attach: function (module) {
      game = module;
      module.kavrixControls = controls;
      show();
    },
    detach: function () {
      game = null;
      fingers = {};
      show();
    },
  };
})();
