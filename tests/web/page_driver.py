#!/usr/bin/env python3
"""Drives the page in headless Chromium as a player would, over the DevTools
protocol on a pipe (no extra packages): real (trusted) clicks and key presses,
screenshots and the page's console. One step per argument:

  page_driver.py URL STEP...
    wait:TEXT          until a console line contains TEXT (60 s at most)
    sleep:SECONDS      real time
    click:X,Y          a left click at page point X,Y
    clickon:SELECTOR   a left click in the middle of the element
    key:NAME[,SECONDS] a key press (Enter, Escape, F1, ArrowUp, Space, a ...), held 0.15 s or SECONDS
    shot:FILE.png      a screenshot of the page
    eval:EXPRESSION    prints the value of a JavaScript expression
    inject:SCRIPT      runs SCRIPT in every page loaded from now on, first
    goto:URL           opens another page
    size:W,H[,RATIO]   the page's viewport in CSS pixels (and device pixels per CSS pixel)
    quota:BYTES        the storage quota of the page's origin, as if the disk were that full
    touchscreen:on     a touch screen from now on (for pages loaded after it)
    touch:POINTS       the fingers on the screen now: ID@WHERE;... (none: all lifted), WHERE
                       a page point X,Y, gX,Y a game pixel (on the canvas) or #id (an
                       element's middle); new IDs come down, missing ones are lifted
    text:TEXT          text typed into the focused field, as an on-screen keyboard does
    offline:on|off     the page's network cut or back
    run:COMMAND        a shell command (to stop the server, for instance)
    close              closes the page as its tab would be, and opens an empty one

The console goes to stdout as 'console: TEXT' lines, its errors (and
uncaught exceptions) also as 'console-error: TEXT'. Exit status 1 when a
wait runs out."""
import json
import os
import subprocess
import sys
import tempfile
import time
import base64

KEYS = {  # name: (key, code, keyCode, text)
    'Enter': ('Enter', 'Enter', 13, '\r'), 'Escape': ('Escape', 'Escape', 27, ''),
    'Space': (' ', 'Space', 32, ' '), 'F1': ('F1', 'F1', 112, ''), 'F2': ('F2', 'F2', 113, ''),
    'ArrowUp': ('ArrowUp', 'ArrowUp', 38, ''), 'ArrowDown': ('ArrowDown', 'ArrowDown', 40, ''),
    'ArrowLeft': ('ArrowLeft', 'ArrowLeft', 37, ''), 'ArrowRight': ('ArrowRight', 'ArrowRight', 39, ''),
}


class Browser:
    def __init__(self, profile):
        to_browser_r, self.to_browser = os.pipe()
        self.from_browser, from_browser_w = os.pipe()
        self.process = subprocess.Popen(
            ['chromium', '--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
             '--disable-background-networking', '--disable-component-update', '--disable-sync',
             '--window-size=1280,800', '--user-data-dir=' + profile, '--remote-debugging-pipe', 'about:blank'],
            # The browser reads commands on fd 3 and answers on fd 4 (both
            # kept open through the close after preexec_fn moves them there).
            pass_fds=tuple({to_browser_r, from_browser_w, 3, 4}), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
            preexec_fn=lambda: (os.dup2(to_browser_r, 3), os.dup2(from_browser_w, 4)))
        os.close(to_browser_r)
        os.close(from_browser_w)
        self.buffer = b''
        self.next_id = 0
        self.session = None
        self.console = []

    def send(self, method, params=None, session=True):
        self.next_id += 1
        message = {'id': self.next_id, 'method': method, 'params': params or {}}
        if session and self.session:
            message['sessionId'] = self.session
        os.write(self.to_browser, json.dumps(message).encode() + b'\0')
        while True:
            reply = self.read()
            if reply.get('id') == self.next_id:
                if 'error' in reply:
                    raise RuntimeError(method + ': ' + json.dumps(reply['error']))
                return reply.get('result', {})

    def read(self):
        while b'\0' not in self.buffer:
            chunk = os.read(self.from_browser, 1 << 20)
            if not chunk:
                raise RuntimeError('the browser closed')
            self.buffer += chunk
        raw, self.buffer = self.buffer.split(b'\0', 1)
        message = json.loads(raw)
        if message.get('method') == 'Runtime.consoleAPICalled':
            text = ' '.join(str(a.get('value', a.get('description', ''))) for a in message['params']['args'])
            self.console.append(text)
            print('console: ' + text, flush=True)
            if message['params'].get('type') == 'error':
                print('console-error: ' + text, flush=True)
        elif message.get('method') == 'Runtime.exceptionThrown':
            details = message['params']['exceptionDetails']
            print('console-error: uncaught ' + details.get('exception', {}).get('description', details.get('text', '')),
                  flush=True)
        return message

    def pump(self, seconds):
        """Reads events for a while (console lines) by a cheap round trip."""
        end = time.time() + seconds
        while time.time() < end:
            try:
                self.send('Runtime.evaluate', {'expression': '0'})
            except RuntimeError as error:
                # The page reloading itself drops the round trip's context;
                # the events read so far still count.
                if 'navigated or closed' not in str(error) and 'context' not in str(error):
                    raise
            time.sleep(0.05)


def touch_points(browser, value):
    """The touch points of a touch: step, in page coordinates."""
    points = []
    for part in filter(None, value.split(';')):
        ident, _, where = part.partition('@')
        if where.startswith('#'):
            rect = evaluate(browser, 'JSON.stringify(document.querySelector(' + json.dumps(where) +
                            ').getBoundingClientRect())')
            rect = json.loads(rect)
            x, y = rect['x'] + rect['width'] / 2, rect['y'] + rect['height'] / 2
        elif where.startswith('g'):
            gx, gy = (float(v) for v in where[1:].split(','))
            rect = json.loads(evaluate(browser, 'JSON.stringify(document.getElementById("canvas")'
                                                '.getBoundingClientRect())'))
            x, y = rect['x'] + (gx + 0.5) * rect['width'] / 800, rect['y'] + (gy + 0.5) * rect['height'] / 600
        else:
            x, y = (float(v) for v in where.split(','))
        points.append({'x': x, 'y': y, 'id': int(ident), 'radiusX': 4, 'radiusY': 4, 'force': 1})
    return points


def evaluate(browser, expression):
    return browser.send('Runtime.evaluate', {'expression': expression, 'returnByValue': True})['result'].get('value')


def open_page(browser):
    target = browser.send('Target.createTarget', {'url': 'about:blank'}, session=False)['targetId']
    browser.session = browser.send('Target.attachToTarget', {'targetId': target, 'flatten': True},
                                   session=False)['sessionId']
    browser.send('Runtime.enable')
    browser.send('Page.enable')
    browser.send('Network.enable')
    return target


def main():
    url, steps = sys.argv[1], sys.argv[2:]
    # (Chromium's helper processes may still be writing into the profile as
    # it is removed: what they leave behind is not worth failing a test for.)
    with tempfile.TemporaryDirectory(ignore_cleanup_errors=True) as profile:
        browser = Browser(profile)
        try:
            target = open_page(browser)
            browser.send('Page.navigate', {'url': url})
            fingers = []
            for step in steps:
                what, _, value = step.partition(':')
                if what == 'wait':
                    end = time.time() + 60
                    while not any(value in line for line in browser.console):
                        if time.time() > end:
                            print('timed out waiting for: ' + value)
                            return 1
                        browser.pump(0.2)
                elif what == 'sleep':
                    browser.pump(float(value))
                elif what in ('click', 'clickon'):
                    if what == 'clickon':
                        box = browser.send('Runtime.evaluate', {'expression': 'JSON.stringify(document.querySelector('
                                           + json.dumps(value) + ').getBoundingClientRect())', 'returnByValue': True})
                        rect = json.loads(box['result']['value'])
                        x, y = rect['x'] + rect['width'] / 2, rect['y'] + rect['height'] / 2
                    else:
                        x, y = (float(v) for v in value.split(','))
                    for kind in ('mouseMoved', 'mousePressed', 'mouseReleased'):
                        browser.send('Input.dispatchMouseEvent', {'type': kind, 'x': x, 'y': y, 'button': 'left',
                                                                  'clickCount': 1})
                elif what == 'key':
                    value, _, held = value.partition(',')
                    key, code, key_code, text = KEYS[value] if value in KEYS else (
                        value, 'Key' + value.upper(), ord(value.upper()), value)
                    base = {'key': key, 'code': code, 'windowsVirtualKeyCode': key_code, 'nativeVirtualKeyCode': key_code}
                    browser.send('Input.dispatchKeyEvent', dict(base, type='keyDown', text=text) if text else
                                 dict(base, type='rawKeyDown'))
                    browser.pump(float(held or 0.15))
                    browser.send('Input.dispatchKeyEvent', dict(base, type='keyUp'))
                elif what == 'shot':
                    data = browser.send('Page.captureScreenshot', {'format': 'png'})['data']
                    with open(value, 'wb') as f:
                        f.write(base64.b64decode(data))
                elif what == 'inject':
                    browser.send('Page.addScriptToEvaluateOnNewDocument', {'source': value})
                elif what == 'size':
                    w, h, *ratio = (float(v) for v in value.split(','))
                    browser.send('Emulation.setDeviceMetricsOverride', {'width': int(w), 'height': int(h),
                                 'deviceScaleFactor': ratio[0] if ratio else 1, 'mobile': False})
                elif what == 'quota':
                    origin = browser.send('Runtime.evaluate', {'expression': 'location.origin',
                                                               'returnByValue': True})['result']['value']
                    browser.send('Storage.overrideQuotaForOrigin', {'origin': origin, 'quotaSize': float(value)})
                elif what == 'goto':
                    browser.console.clear()
                    browser.send('Page.navigate', {'url': value})
                elif what == 'touchscreen':
                    browser.send('Emulation.setTouchEmulationEnabled', {'enabled': value == 'on', 'maxTouchPoints': 5})
                elif what == 'touch':
                    points = touch_points(browser, value)
                    before = {p['id'] for p in fingers}
                    # A new finger comes down with a touchStart, the rest move;
                    # fingers left out of the list are lifted.
                    kind = ('touchEnd' if not points else
                            'touchStart' if any(p['id'] not in before for p in points) else 'touchMove')
                    browser.send('Input.dispatchTouchEvent', {'type': kind, 'touchPoints': points})
                    fingers = points
                elif what == 'text':
                    browser.send('Input.insertText', {'text': value})
                elif what == 'offline':
                    browser.send('Network.emulateNetworkConditions', {'offline': value == 'on', 'latency': 0,
                                                                      'downloadThroughput': -1, 'uploadThroughput': -1})
                elif what == 'run':
                    subprocess.run(value, shell=True, check=False)
                elif what == 'close':
                    browser.send('Target.closeTarget', {'targetId': target}, session=False)
                    browser.session = None
                    target = open_page(browser)
                    fingers = []
                elif what == 'eval':
                    result = browser.send('Runtime.evaluate', {'expression': value, 'returnByValue': True})
                    print('eval: ' + json.dumps(result.get('result', {}).get('value')))
                else:
                    raise SystemExit('unknown step ' + step)
        finally:
            browser.process.kill()
            browser.process.wait()
    return 0


if __name__ == '__main__':
    sys.exit(main())
