// Lighthouse's mobile performance audit of the served site in headless
// Chromium (its default: a mid-range phone, throttling simulated): the
// score and the figures it is made of. Run by benchmark.js.
'use strict';

module.exports = async function audit(browser, url) {
  const {default: lighthouse} = await import('lighthouse');
  const port = Number(new URL(browser.wsEndpoint()).port);
  const {lhr} = await lighthouse(url, {port, output: 'json', logLevel: 'error',
                                       onlyCategories: ['performance']});
  const shown = id => lhr.audits[id].displayValue;
  console.log('Lighthouse, mobile: performance %d; LCP %s, TBT %s, CLS %s, FCP %s, SI %s',
              Math.round(100 * lhr.categories.performance.score),
              shown('largest-contentful-paint'), shown('total-blocking-time'),
              shown('cumulative-layout-shift'), shown('first-contentful-paint'),
              shown('speed-index'));
};
