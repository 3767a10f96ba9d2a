// Reads a converted LAS file with las-js, an independent LAS 2.0 reader from npm, and compares
// what it reads with what the test expects.
//   node las_js_check.js LAS_JS_PREFIX FILE.las EXPECTED.json
// EXPECTED: { readable, well, curves, units, rows, tolerance }; well: the file has a ~W section. Exit 0 when everything matches,
// 1 on a mismatch (each printed), 77 when las-js is not installed under LAS_JS_PREFIX.
'use strict';
const fs = require('fs');
const path = require('path');

const [prefix, lasFile, expectedFile] = process.argv.slice(2);
let Las;
try {
  ({ Las } = require(path.join(prefix, 'node_modules', 'las-js')));
} catch (e) {
  console.log(`las-js is not installed under ${prefix} (./varexa setup installs it)`);
  process.exit(77);
}
const expected = JSON.parse(fs.readFileSync(expectedFile, 'utf8'));
const problems = [];
const near = (a, b) => Math.abs(a - b) <= expected.tolerance;

(async () => {
  let las, data;
  try {
    las = new Las(lasFile);
    data = await las.data();
  } catch (e) {
    if (expected.readable) problems.push(`las-js could not read the file: ${e}`);
    return;
  }
  if (!expected.readable) {
    problems.push('las-js read a file that has neither version nor curve section');
    return;
  }
  const header = await las.header();
  if (JSON.stringify(header) !== JSON.stringify(expected.curves))
    problems.push(`curves ${JSON.stringify(header)}, expected ${JSON.stringify(expected.curves)}`);
  const curves = await las.curveParams();
  expected.curves.forEach((name, i) => {
    const unit = curves[name] && curves[name].unit;
    if (unit !== expected.units[i]) problems.push(`curve ${name}: unit ${unit}, expected ${expected.units[i]}`);
  });
  if (data.length !== expected.rows.length) problems.push(`${data.length} rows, expected ${expected.rows.length}`);
  for (let r = 0; r < Math.min(data.length, expected.rows.length) && problems.length < 20; ++r) {
    if (data[r].length !== expected.rows[r].length) problems.push(`row ${r}: ${data[r].length} values`);
    data[r].forEach((v, c) => {
      if (!near(v, expected.rows[r][c])) problems.push(`row ${r} column ${c}: ${v}, expected ${expected.rows[r][c]}`);
    });
  }
  // STRT, STOP and STEP must describe the index column as written.
  if (!expected.well) return;
  const well = await las.wellParams();
  const strt = parseFloat(well.STRT.value), stop = parseFloat(well.STOP.value), step = parseFloat(well.STEP.value);
  if (data.length > 0) {
    if (!near(strt, data[0][0])) problems.push(`STRT ${strt} but the first index is ${data[0][0]}`);
    if (!near(stop, data[data.length - 1][0])) problems.push(`STOP ${stop} but the last index is ${data[data.length - 1][0]}`);
    for (let r = 1; r < data.length; ++r) {
      if (!near(data[r][0] - data[r - 1][0], step)) {
        problems.push(`index steps by ${data[r][0] - data[r - 1][0]} at row ${r}, STEP says ${step}`);
        break;
      }
    }
  }
})().then(() => {
  problems.forEach((p) => console.log(p));
  process.exit(problems.length === 0 ? 0 : 1);
}).catch((e) => {
  console.log(`las-js failed: ${e}`);
  process.exit(1);
});
