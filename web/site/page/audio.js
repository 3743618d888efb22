// The game's sounds over Web Audio: six voices over the decoded wave files
// and the beep, mixed at one gain that volume and mute set.

let audio = null;
let output = null;  // the gain every sound passes
let outputGain = 1;
const soundBytes = new Map();  // file -> ArrayBuffer, as fetched
const soundBuffers = new Map();  // file -> AudioBuffer
const voices = [];

// Browsers let sound start only after the player's first tap or key.
function unlockAudio() {
  if (!audio) {
    audio = new AudioContext();
    output = audio.createGain();
    output.gain.value = outputGain;
    output.connect(audio.destination);
    for (const [file, bytes] of soundBytes)
      audio.decodeAudioData(bytes.slice(0)).then((buffer) => soundBuffers.set(file, buffer), () => {});
  }
  if (audio.state === 'suspended') audio.resume();
}
for (const type of ['pointerdown', 'keydown', 'touchstart'])
  window.addEventListener(type, unlockAudio, { capture: true, passive: true });

// The sounds came in the module's package; Web Audio decodes the same bytes.
export function keepSounds(instance) {
  for (const file of instance.UTF8ToString(instance._wuffel_soundFiles()).split('\n').filter(Boolean)) {
    try {
      soundBytes.set(file, instance.FS.readFile('/' + file).buffer);
    } catch (missing) {
      // The program reports a missing file itself.
    }
  }
}

function stopVoice(voice) {
  if (voices[voice]) voices[voice].stop();
  voices[voice] = null;
}

export const audioCalls = {
  beep() {
    if (!audio) return;
    const tone = audio.createOscillator();
    const gain = audio.createGain();
    tone.frequency.value = 880;
    gain.gain.value = 0.1;
    tone.connect(gain).connect(output);
    tone.start();
    tone.stop(audio.currentTime + 0.12);
  },
  // `rate` below 1 plays slower and lower, for a slower game; the offset
  // counts the sound's own seconds.
  startVoice(voice, file, fromSeconds, rate) {
    stopVoice(voice);
    const buffer = soundBuffers.get(file);
    if (!audio || !buffer || fromSeconds >= buffer.duration) return;
    const source = audio.createBufferSource();
    source.buffer = buffer;
    source.playbackRate.value = rate;
    source.connect(output);
    source.start(0, fromSeconds);
    voices[voice] = source;
  },
  stopVoice,
  setGain(value) {
    outputGain = value;
    if (output) output.gain.value = value;
  },
};
