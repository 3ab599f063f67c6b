'use strict';
// The pages of tavir-cli serve. The token comes in the address's fragment (never sent to the
// server by the browser) and goes along in a request header, never in a cookie.

const token = (() => {
  const given = location.hash.match(/token=([0-9A-Za-z_-]+)/);
  if (given) sessionStorage.setItem('tavirToken', given[1]);
  return sessionStorage.getItem('tavirToken') || '';
})();

function headers() {
  return token ? { 'X-Tavir-Token': token } : {};
}

async function getJson(url) {
  const response = await fetch(url, { headers: headers(), cache: 'no-store' });
  if (!response.ok) throw new Error(`${url}: ${response.status}`);
  return response.json();
}

function element(tag, className, text) {
  const made = document.createElement(tag);
  if (className) made.className = className;
  if (text !== undefined) made.textContent = text;
  return made;
}

// The banner of a link that is down; the text is the server's.
let bannerText = '';
function showLink(up) {
  const banner = document.getElementById('banner');
  banner.textContent = bannerText;
  banner.hidden = up || !bannerText;
  document.body.classList.toggle('down', !up);
}

// Server-Sent Events read through fetch, so that the token can go in a header. Starts again a
// second after the stream ended; onEvent gets each event's data. A page that is not shown holds
// no stream, as the debugger asks only for the values of the window it shows: a browser keeps
// at most six connections to one server, and each shown page holds one.
function follow(url, onEvent) {
  let generation = 0;
  let stopper = null;
  const run = async () => {
    stopper = new AbortController();
    const response = await fetch(url, { headers: headers(), cache: 'no-store', signal: stopper.signal });
    if (!response.ok) throw new Error(`${url}: ${response.status}`);
    const reader = response.body.getReader();
    const decoder = new TextDecoder();
    let buffered = '';
    for (;;) {
      const { value, done } = await reader.read();
      if (done) return;
      buffered += decoder.decode(value, { stream: true });
      let end;
      while ((end = buffered.indexOf('\n\n')) >= 0) {
        for (const line of buffered.slice(0, end).split('\n')) {
          if (line.startsWith('data: ')) onEvent(JSON.parse(line.slice(6)));
        }
        buffered = buffered.slice(end + 2);
      }
    }
  };
  const again = () => {
    if (document.hidden) return;
    const mine = ++generation;
    run().catch(() => {}).finally(() => {
      if (mine !== generation || document.hidden) return;
      showLink(false);
      setTimeout(again, 1000);
    });
  };
  document.addEventListener('visibilitychange', () => {
    if (document.hidden) {
      ++generation;
      stopper.abort();
    } else {
      again();
    }
  });
  again();
}

function onStatus(data) {
  if (data.link === undefined) return false;
  if (data.banner) bannerText = data.banner;
  showLink(data.link);
  return true;
}

// The parts of each page; the shell is the same for all.
const kBodies = {
  index: `<h1>TAVIR</h1><p><a href="/timeline">Signal timeline</a></p>
    <h2>Debug windows</h2><ol id="windows" class="windows" start="0"></ol><pre id="lines" class="lines"></pre>`,
  window: `<nav><a id="previous" href="/">&#8593; PgUp</a> <a href="/">index</a>
    <a id="next" href="/">PgDn &#8595;</a> <span id="title" class="title"></span></nav>
    <div id="grid" class="grid"></div><p id="message" class="message"></p>`,
  timeline: `<nav><a href="/">index</a> <span class="title">Signal timeline, the last five minutes</span></nav>
    <div id="timeline"></div>`,
};

async function indexPage() {
  const index = await getJson('/api/index');
  document.getElementById('lines').textContent = index.lines.join('\n');
  const list = document.getElementById('windows');
  index.windows.forEach((w, n) => {
    const entry = element('li', w.loaded ? '' : 'refused');
    // The window list's line for the file: its line in mkdebfls.txt, or its path.
    const link = element(w.loaded ? 'a' : 'span', '', w.entry === w.path ? w.name : w.entry);
    if (w.loaded) link.href = `/window/${n}`;
    entry.append(link);
    entry.append(element('pre', '', w.lines.join('\n')));
    list.append(entry);
  });
}

const kRowHeight = 20;

async function windowPage() {
  const number = Number(location.pathname.split('/')[2]);
  const [shown, index] = await Promise.all([getJson(`/api/window/${number}`), getJson('/api/index')]);
  document.title = `${shown.name} - TAVIR`;
  document.getElementById('title').textContent = shown.name;
  // PgUp and PgDn go round the windows that were loaded, as the debugger's do.
  const loaded = index.windows.map((w, n) => (w.loaded ? n : -1)).filter((n) => n >= 0);
  const at = loaded.indexOf(number);
  const neighbour = (step) => `/window/${loaded[(at + step + loaded.length) % loaded.length]}`;
  document.getElementById('previous').href = neighbour(-1);
  document.getElementById('next').href = neighbour(1);
  document.addEventListener('keydown', (event) => {
    if (event.key === 'PageUp') location.href = neighbour(-1);
    if (event.key === 'PageDown') location.href = neighbour(1);
  });

  const grid = document.getElementById('grid');
  grid.style.width = `${shown.columns}ch`;
  grid.style.height = `${shown.rows * kRowHeight}px`;
  const place = (made, column, row) => {
    made.style.left = `${column}ch`;
    made.style.top = `${row * kRowHeight}px`;
    grid.append(made);
  };
  for (const [column, row, text] of shown.labels) place(element('span', 'label', text), column, row);
  const items = new Map();
  for (const [i, column, row, width, checkbox] of shown.items) {
    // A value the page cannot write is text: the browser lays it out and paints it for much less
    // than a field.
    const field = element(checkbox || shown.writes ? 'input' : 'output', 'item grey');
    field.id = `item-${i}`;
    if (field.tagName === 'INPUT') {
      field.type = checkbox ? 'checkbox' : 'text';
      field.disabled = true;
      field.maxLength = 15;
    }
    if (!checkbox) field.style.width = `${width}ch`;
    place(field, column, row);
    items.set(i, field);
    if (shown.writes) watchWrites(number, i, field, checkbox);
  }
  follow(`/api/events/${number}`, (data) => {
    if (onStatus(data)) return;
    const field = items.get(data.i);
    if (!field) return;
    // Only what differs is set: each change to an element costs the browser a new style.
    if (field.classList.contains('grey')) {
      field.classList.remove('grey');
      if (field.tagName === 'INPUT') field.disabled = false;
    }
    if (field.tagName === 'OUTPUT') {
      if (field.value !== data.t) field.value = data.t;
    } else if (field.type === 'checkbox') {
      if (field.checked !== data.c || field.hasAttribute('checked') !== data.c) {
        field.checked = data.c;
        field.toggleAttribute('checked', data.c);
      }
    } else if (!field.dataset.edited && (field.value !== data.t || field.getAttribute('value') !== data.t)) {
      field.value = data.t;
      field.setAttribute('value', data.t);
    }
  });
}

// Enter writes the field's text, then reads the item back; a click on a checkbox writes the
// flipped value. The field shows what the controller sends back, not what was clicked.
function watchWrites(number, i, field, checkbox) {
  const message = document.getElementById('message');
  const write = async (text) => {
    const response = await fetch(`/api/write/${number}/${i}`, { method: 'POST', headers: headers(), body: text });
    message.textContent = response.ok ? '' : `write refused: ${response.status} ${await response.text()}`;
  };
  if (checkbox) {
    field.addEventListener('click', (event) => {
      event.preventDefault();
      write('');
    });
    return;
  }
  field.addEventListener('input', () => { field.dataset.edited = '1'; });
  field.addEventListener('keydown', (event) => {
    if (event.key === 'Enter') {
      delete field.dataset.edited;
      write(field.value);
    } else if (event.key === 'Escape') {
      delete field.dataset.edited;
    }
  });
}

function timelinePage() {
  document.title = 'Signal timeline - TAVIR';
  const shown = document.getElementById('timeline');
  const draw = async () => {
    try {
      const response = await fetch('/api/timeline.svg', { headers: headers(), cache: 'no-store' });
      if (response.ok) shown.innerHTML = await response.text();
    } finally {
      setTimeout(draw, 1000);
    }
  };
  follow('/api/events/timeline', onStatus);
  draw();
}

const kind = location.pathname.split('/')[1] || 'index';
document.body.insertAdjacentHTML('beforeend', kBodies[kind]);
({ index: indexPage, window: windowPage, timeline: timelinePage })[kind]();
