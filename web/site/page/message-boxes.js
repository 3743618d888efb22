// The error box, which shows the module's errors one after another, and
// the question box: Yes, or No also by Esc. Each takes its keys: none
// reaches the handheld.
import { call } from './game.js';

const $ = (id) => document.getElementById(id);
const errorBox = $('error-box');
const questionBox = $('question-box');
const errors = [];  // [caption, message], the one shown first
let answer = false;

for (const box of [errorBox, questionBox]) {
  box.addEventListener('keydown', (event) => event.stopPropagation());
  box.addEventListener('keyup', (event) => event.stopPropagation());
}

function showNextError() {
  const [caption, message] = errors[0];
  $('error-caption').textContent = caption;
  $('error-message').textContent = message;
  if (!errorBox.open) errorBox.showModal();
  $('error-ok').focus();
}
$('error-ok').addEventListener('click', () => errorBox.close());
errorBox.addEventListener('close', () => {
  errors.shift();
  call('errorBoxClosed');
  if (errors.length) showNextError();
});

$('question-yes').addEventListener('click', () => { answer = true; questionBox.close(); });
$('question-no').addEventListener('click', () => questionBox.close());
questionBox.addEventListener('close', () => {
  call('questionAnswered', answer ? 1 : 0);
  answer = false;
});

export const messageBoxCalls = {
  showError(caption, message) {
    errors.push([caption, message]);
    call('errorBoxShown');
    if (errors.length === 1) showNextError();
  },
  askQuestion(caption, question) {
    $('question-caption').textContent = caption;
    $('question-text').textContent = question;
    questionBox.showModal();
    $('question-yes').focus();
  },
};
