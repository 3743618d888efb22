// Every scenario script through both runners, the desktop's build/wuffel-scenario
// and build-web/wuffel-scenario.js on Node: the same trace, byte for byte, the
// same exit status and the same complaint about a malformed line. Besides
// the scripts under web/tests/scenarios/, days of random play made here.
'use strict';

const assert = require('node:assert');
const { spawnSync } = require('node:child_process');
const fs = require('node:fs');
const os = require('node:os');
const path = require('node:path');
const test = require('node:test');

const root = path.resolve(__dirname, '../..');
const nativeRunner = path.join(root, 'build/wuffel-scenario');
const nodeRunner = path.join(root, 'build-web/wuffel-scenario.js');
const scenarios = path.join(__dirname, 'scenarios');

function run(command, args, input) {
  const r = spawnSync(command, args, { cwd: root, input, maxBuffer: 1 << 28 });
  return { status: r.status, out: r.stdout, err: r.stderr.toString() };
}

function bothRun(args, input) {
  const native = run(nativeRunner, args, input);
  const web = run(process.execPath, [nodeRunner, ...args], input);
  return { native, web };
}

function assertSame({ native, web }, what) {
  assert.strictEqual(web.status, native.status, what + ': exit status');
  assert.strictEqual(web.err, native.err, what + ': complaints');
  assert.ok(web.out.equals(native.out), what + ': traces differ\n' + firstDifference(native.out, web.out));
}

function firstDifference(a, b) {
  const x = a.toString().split('\n');
  const y = b.toString().split('\n');
  for (let i = 0; i < Math.max(x.length, y.length); ++i)
    if (x[i] !== y[i]) return `line ${i + 1}:\n  desktop: ${x[i]}\n  node:    ${y[i]}`;
  return '';
}

// A seeded generator, so that a failing day can be played again.
function generator(seed) {
  let s = seed >>> 0;
  return (n) => {
    s = (Math.imul(s, 1103515245) + 12345) >>> 0;
    return (s >>> 8) % n;
  };
}

// Ten minutes of a player who presses anything at any time.
function randomDay(seed) {
  const draw = generator(seed);
  const buttons = [[569, 56], [569, 100], [569, 146], [613, 121], [300, 200], [120, 300]];
  const keys = [17, 17, 17, 17, 38, 40];
  const pad = (n, w) => String(n).padStart(w, '0');
  const lines = [`utc ${pad(draw(24), 2)}:${pad(draw(60), 2)}:${pad(draw(60), 2)}.${pad(draw(1000), 3)}`,
    `local ${pad(draw(24), 2)}:${pad(draw(60), 2)}`, 'start', 'splash Puls_Play'];
  let t = 0;
  while (t < 600000) {
    t += 20 + draw(300);
    lines.push(`at ${t}`);
    const what = draw(100);
    if (what < 85) {
      const key = keys[draw(keys.length)];
      lines.push(`keydown ${key}`, `wait ${draw(120)}`, `keyup ${key}`);
    } else if (what < 92) {
      const [x, y] = buttons[draw(buttons.length)];
      lines.push(`press ${x} ${y} left`, `wait ${draw(1500)}`, `release ${x} ${y} left`);
    } else if (what < 94) {
      lines.push('press 300 200 right', 'release 300 200 right');
    } else if (what < 95) {
      lines.push(['menu PM_8HiScore', 'menu PM_1About', 'close AboutForm'][draw(3)]);
    } else if (what < 98) {
      lines.push('dump');
    }
  }
  lines.push('dump');
  return lines.join('\n') + '\n';
}

test('the runners exist', () => {
  assert.ok(fs.existsSync(nativeRunner), 'build the desktop edition first (tools/build)');
  assert.ok(fs.existsSync(nodeRunner), 'build the browser edition first (tools/build-web)');
});

test('every scenario script gives the same trace on both runners', () => {
  const scripts = fs.readdirSync(scenarios).filter((f) => f.endsWith('.txt')).sort();
  assert.ok(scripts.length > 0);
  for (const script of scripts) assertSame(bothRun([path.join(scenarios, script)]), script);
});

test('a script on standard input gives the same trace', () => {
  assertSame(bothRun([], fs.readFileSync(path.join(scenarios, 'menu.txt'))), 'menu.txt on standard input');
});

test('days of random play give the same trace', () => {
  const folder = fs.mkdtempSync(path.join(os.tmpdir(), 'wuffel-day-'));
  try {
    for (const seed of [1, 2, 3]) {
      const file = path.join(folder, `day-${seed}.txt`);
      fs.writeFileSync(file, randomDay(seed));
      const result = bothRun([file]);
      assert.strictEqual(result.native.status, 0, `day ${seed}: ` + result.native.err);
      assertSame(result, `day of seed ${seed}`);
    }
  } finally {
    fs.rmSync(folder, { recursive: true, force: true });
  }
});

test('a malformed line is refused the same way', () => {
  for (const script of ['start\ndump\nfly 3\n', 'at 5\n', 'start\npress 1 2 thumb\n', 'utc 25:00:00.000\nstart\n',
    'start\nmenu PM_2N1\n', 'sound-length MPlayerNone 4\nstart\n']) {
    const result = bothRun([], script);
    assert.strictEqual(result.native.status, 2, script);
    assertSame(result, JSON.stringify(script));
  }
  assertSame(bothRun(['/nonexistent/script.txt']), 'a script that is not there');
});

test('a folder, a line without an end and time past a week are refused the same way', () => {
  for (const [args, input, what] of [[[os.tmpdir()], '', 'a folder'],
    [[], Buffer.alloc(3 << 20), 'three MiB of NUL bytes'],
    [[], 'start\nfly\u00e9\u200b\u0000\u001b' + 'x'.repeat(100) + '\n', 'a word of invisible characters'],
    [[], 'start\nwait 2147483647\n', 'a wait past a week']]) {
    const result = bothRun(args, input);
    assert.strictEqual(result.native.status, 2, what);
    assert.strictEqual(result.native.out.length, 0, what);
    assertSame(result, what);
  }
});

test('sounds from another folder, and wave files the desktop reads, last as long on both', () => {
  const folder = fs.mkdtempSync(path.join(os.tmpdir(), 'wuffel-sound-'));
  try {
    for (const f of fs.readdirSync(path.join(root, 'SOUND')))
      fs.copyFileSync(path.join(root, 'SOUND', f), path.join(folder, f.toLowerCase()));
    // 8-bit stereo at 11025 Hz for one channel, an empty file for another.
    const frames = 3000;
    const header = Buffer.alloc(44);
    header.write('RIFF', 0); header.writeUInt32LE(36 + frames * 2, 4); header.write('WAVEfmt ', 8);
    header.writeUInt32LE(16, 16); header.writeUInt16LE(1, 20); header.writeUInt16LE(2, 22);
    header.writeUInt32LE(11025, 24); header.writeUInt32LE(22050, 28); header.writeUInt16LE(2, 32);
    header.writeUInt16LE(8, 34); header.write('data', 36); header.writeUInt32LE(frames * 2, 40);
    fs.writeFileSync(path.join(folder, 'hit.wav'), Buffer.concat([header, Buffer.alloc(frames * 2, 128)]));
    let result = bothRun([], `sound-dir ${folder}\nstart\ndump\n`);
    assert.match(result.native.out.toString(), /MPlayerHit=silent\/0\/272 /);
    assertSame(result, 'sounds from another folder');
    fs.writeFileSync(path.join(folder, 'miss.wav'), '');
    result = bothRun([], `sound-dir ${folder}\nstart\ndump\n`);
    assert.match(result.native.out.toString(), /error Cannot open sound file MISS.WAV: the file is empty/);
    assertSame(result, 'an empty sound file');
  } finally {
    fs.rmSync(folder, { recursive: true, force: true });
  }
});

// The recordings of the games of the scenarios and of days of random play,
// written by the desktop's runner, play again to their ends in both runners,
// which say so in the same words.
test('every recorded game verifies alike in both runners', () => {
  const dir = fs.mkdtempSync(path.join(os.tmpdir(), 'wuffel-recordings-'));
  try {
    const scripts = fs.readdirSync(scenarios).map((f) => fs.readFileSync(path.join(scenarios, f)));
    for (let seed = 1; seed <= 3; ++seed) scripts.push(Buffer.from(randomDay(seed)));
    for (const script of scripts) assert.strictEqual(run(nativeRunner, ['--record', dir], script).status, 0);
    const recordings = fs.readdirSync(dir);
    assert.ok(recordings.length >= 6, 'games recorded: ' + recordings.length);
    for (const name of recordings) {
      const both = bothRun(['--verify', path.join(dir, name)]);
      assertSame(both, name);
      assert.match(both.native.out.toString(), /^verified [AB] \d+\n$/, name);
    }
  } finally {
    fs.rmSync(dir, { recursive: true, force: true });
  }
});

