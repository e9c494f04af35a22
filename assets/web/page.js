// Starts the program in the page with Qt's loader (qtloader.js), and otherwise says in the
// page what keeps it from running: a failure never leaves the page empty. A file of its own,
// since the page's Content-Security-Policy allows no inline script.
'use strict';
(() => {
  const program = document.currentScript.dataset.program;
  const status = document.getElementById('status');
  const screen = document.getElementById('screen');
  let started = false;

  // The page kept for use without a network, and installable as an app, by its service
  // worker, where the browser offers one: in a secure context (https, localhost). Once the
  // program runs, so that the worker's download finds its files in the browser's cache; a
  // worker that cannot be had leaves the page as it is, online.
  const keepForOffline = () => {
    try {
      if (!('serviceWorker' in navigator))
        return;
      navigator.serviceWorker.register('service-worker.js', { scope: './' }).catch(
        (error) => console.warn('Study proposal will need the network: ' + error.message));
    } catch (error) { // a browser's privacy settings may refuse even the question
      console.warn('Study proposal will need the network: ' + error.message);
    }
  };

  const showProgram = () => {
    started = true;
    status.style.display = 'none';
    screen.style.display = 'block';
    document.body.dataset.program = 'running';
    keepForOffline();
  };
  const showMessage = (text) => {
    status.textContent = text;
    status.style.display = 'block';
    screen.style.display = 'none';
    document.body.dataset.program = 'stopped';
  };
  const couldNotStart = (why) => showMessage('Study proposal could not start: ' + why);
  // Whatever goes wrong before the program runs is the page's to tell.
  window.addEventListener('error', (event) => started || couldNotStart(event.message));
  window.addEventListener('unhandledrejection',
    (event) => started || couldNotStart(event.reason?.message ?? event.reason));

  // The browser's context menu stays away from the windows: a right press is the program's.
  screen.addEventListener('contextmenu', (event) => event.preventDefault());

  // Qt draws the windows' title bars as HTML in a shadow root of the screen, where the page's
  // stylesheet does not reach, in a face most systems lack ('Lucida Grande'), which the
  // browser then replaces with its default serif face: the titles take the page's face.
  new MutationObserver((changes) => {
    for (const change of changes) {
      for (const node of change.addedNodes) {
        if (!node.shadowRoot || !('adoptedStyleSheets' in node.shadowRoot))
          continue;
        const titles = new CSSStyleSheet();
        titles.replaceSync('.qt-window .title-bar .window-name { font-family: inherit; }');
        node.shadowRoot.adoptedStyleSheets = [...node.shadowRoot.adoptedStyleSheets, titles];
      }
    }
  }).observe(screen, { childList: true });

  if (typeof WebAssembly !== 'object' || typeof WebAssembly.instantiate !== 'function') {
    showMessage('Study proposal runs on WebAssembly, which this browser lacks or has ' +
      'turned off (as some stricter security settings do). Open this page in a current ' +
      'Chrome, Edge, Firefox or Safari, or allow WebAssembly for this site.');
    return;
  }
  if (typeof qtLoad !== 'function') {
    showMessage('Study proposal could not be loaded: its loader, qtloader.js, is missing. ' +
      'Reload the page to try again.');
    return;
  }
  const script = document.createElement('script');
  script.src = program + '.js';
  script.onload = () => qtLoad({
    qt: {
      containerElements: [screen],
      // The program's script defines its entry function, qtLoad runs it.
      entryFunction: window[program.replace(/-/g, '_') + '_entry'],
      onLoaded: showProgram,
      onExit: (exit) => showMessage(
        !started ? 'Study proposal could not start: ' + exit.text
          : exit.crashed ? 'Study proposal could not go on: ' + exit.text
            : 'Study proposal has ended; reload the page to start it again.'),
    },
  }).catch((error) => {
    if (document.body.dataset.program !== 'stopped')
      couldNotStart(error?.message ?? error);
  });
  script.onerror = () => showMessage('Study proposal could not be loaded. ' +
    'Reload the page to try again.');
  document.body.appendChild(script);
})();
