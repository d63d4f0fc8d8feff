// The start page in headless Chromium, with a stand-in for Kolvanta's
// window.external that records every call and answers like the program would.
'use strict';

const { test, describe, before, after } = require('node:test');
const assert = require('node:assert');
const fs = require('node:fs');
const path = require('node:path');
const { pathToFileURL } = require('node:url');
const acorn = require('acorn');
const { chromium } = require('playwright-core');

const pagePath = path.resolve(__dirname, '..', '..', 'core', 'new_page_1.htm');
const pageUrl = pathToFileURL(pagePath).href;
const pageText = fs.readFileSync(pagePath, 'utf8');

// Installed before any script of the page runs. Answers can be set per method
// through window.__answers.
const standIn = `
  window.__calls = [];
  window.__answers = {};
  var methods = ['Configure', 'Convert_texture', 'Convert_wad', 'Convert_map', 'Copy_pk4', 'Copy_compile_run'];
  var external = {};
  methods.forEach(function (name) {
    external[name] = function () {
      window.__calls.push({ method: name, args: Array.prototype.slice.call(arguments) });
      return name in window.__answers ? window.__answers[name] : true;
    };
  });
  Object.defineProperty(window, 'external', { value: external, configurable: true });
`;

// Every command link of the page: its element id, the method and the arguments.
const commands = [
  { id: 'configure', method: 'Configure', args: [] },
  { id: 'texture-doom', method: 'Convert_texture', args: ['doom.wad'] },
  { id: 'texture-doom2', method: 'Convert_texture', args: ['doom2.wad'] },
  { id: 'texture-tnt', method: 'Convert_texture', args: ['tnt.wad'] },
  { id: 'texture-plutonia', method: 'Convert_texture', args: ['plutonia.wad'] },
  { id: 'convert-wad', method: 'Convert_wad', args: [] },
  { id: 'convert-map', method: 'Convert_map', args: [] },
  { id: 'copy-pk4', method: 'Copy_pk4', args: [] },
  { id: 'copy-compile-run', method: 'Copy_compile_run', args: [] },
];

let browser;

// launch() gives the browser a fresh profile folder of its own and removes it at close.
async function startBrowser() {
  browser = await chromium.launch({
    executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
    headless: true,
    args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
      '--disable-background-networking', '--disable-component-update', '--disable-sync'],
  });
}

async function openPage() {
  const page = await browser.newPage();
  const errors = [];
  page.on('pageerror', (error) => errors.push(error.message));
  await page.addInitScript(standIn);
  await page.goto(pageUrl);
  return { page, errors };
}

describe('the page in Chromium', () => {
  before(startBrowser);
  after(async () => {
    if (browser) await browser.close();
  });

  test('every command calls its method once with the right arguments and stays on the page', async () => {
    const { page, errors } = await openPage();
    for (const command of commands) {
      await page.evaluate(() => { window.__calls = []; });
      await page.click(`#${command.id}`);
      const calls = await page.evaluate(() => window.__calls);
      assert.deepStrictEqual(calls, [{ method: command.method, args: command.args }], command.id);
      assert.strictEqual(page.url(), pageUrl, `${command.id} navigated away`);
    }
    assert.deepStrictEqual(errors, []);
    await page.close();
  });

  test('every command link points to an address ending in # and the page follows the conversion order', async () => {
    const { page } = await openPage();
    const links = await page.$$eval('a', (anchors) => anchors.map((a) => ({ id: a.id, href: a.getAttribute('href') })));
    assert.deepStrictEqual(links.map((link) => link.id), commands.map((command) => command.id));
    for (const link of links)
      assert.ok(link.href.endsWith('#'), `${link.id}: ${link.href}`);
    await page.close();
  });

  test('the status line shows what Configure and Convert_texture answered', async () => {
    const { page } = await openPage();
    await page.click('#configure');
    assert.strictEqual(await page.textContent('#status'), 'Settings saved.');
    await page.evaluate(() => { window.__answers.Configure = false; });
    await page.click('#configure');
    assert.strictEqual(await page.textContent('#status'), 'Settings unchanged.');

    await page.click('#texture-tnt');
    assert.strictEqual(await page.textContent('#status'), 'tnt.wad copied into the Kolvanta folder.');
    await page.evaluate(() => { window.__answers.Convert_texture = false; });
    await page.click('#texture-tnt');
    assert.strictEqual(await page.textContent('#status'), 'No wad copied.');
    await page.close();
  });

  test('outside Kolvanta a click says so instead of failing', async () => {
    const page = await browser.newPage();
    const errors = [];
    page.on('pageerror', (error) => errors.push(error.message));
    await page.goto(pageUrl);
    await page.click('#convert-map');
    assert.strictEqual(await page.textContent('#status'), 'This page works inside Kolvanta only.');
    assert.strictEqual(page.url(), pageUrl);
    assert.deepStrictEqual(errors, []);
    await page.close();
  });

});

test('the compatibility meta element comes first in head', () => {
  const head = pageText.slice(pageText.indexOf('<head>') + '<head>'.length).trimStart();
  assert.match(head, /^<meta http-equiv="X-UA-Compatible" content="IE=edge">/);
});

test('the scripts are ECMAScript 5 and use no addEventListener', () => {
  const scripts = [...pageText.matchAll(/<script[^>]*>([\s\S]*?)<\/script>/g)].map((match) => match[1]);
  assert.ok(scripts.length > 0);
  const handlers = [...pageText.matchAll(/\son\w+="([^"]*)"/g)].map((match) => match[1]);
  for (const code of [...scripts, ...handlers.map((body) => `(function () { ${body} })`)]) {
    assert.doesNotThrow(() => acorn.parse(code, { ecmaVersion: 5 }), code.slice(0, 60));
    assert.ok(!/addEventListener|querySelector/.test(code), 'IE7 document mode has neither');
  }
});
