// Prints the input of the named scene for desktop_shots.sh, one step a line:
//   windows N | key WINDOW KEYSYM | click WINDOW X Y BUTTON | controls   (the text follows on
// the next lines up to a line "end")
import { scenes } from './scenes.mjs';

const keysyms = { '+': 'plus', '-': 'minus', '=': 'equal', '_': 'underscore' };
const buttons = { left: 1, middle: 2, right: 3 };
const scene = scenes[process.argv[2]];
if (!scene) {
  console.error(`no scene ${process.argv[2]}`);
  process.exit(2);
}
console.log(`windows ${scene.windows}`);
for (const step of scene.steps) {
  if (step.key) console.log(`key ${step.window} ${keysyms[step.key] || step.key}`);
  else if (step.click) console.log(`click ${step.window} ${step.click[0]} ${step.click[1]} ${buttons[step.button || 'left']}`);
  else if (step.controls !== undefined) console.log(`controls\n${step.controls.trimEnd()}\nend`);
}
