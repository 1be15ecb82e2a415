// The page's half of the web host (web/WebHost.cpp): it draws the dialogs the program keeps,
// queues what the user does for the program to take, shows its message boxes, gives the card
// file to the program and offers what the program wrote for saving.
'use strict';

(function () {
  // The numbers of web/PageActions.h.
  const ACTION = { PICK: 1, CLICK: 2, ENTER: 3, ESCAPE: 4, HELP: 5, FOCUS: 6, CLOSE: 7, END: 8 };
  const ANSWER = { OK: 1, CANCEL: 2, ABORT: 3, RETRY: 4, IGNORE: 5, YES: 6, NO: 7 };
  const BUTTONS_OF_TYPE = [
    [['OK', ANSWER.OK]],
    [['OK', ANSWER.OK], ['Cancel', ANSWER.CANCEL]],
    [['Abort', ANSWER.ABORT], ['Retry', ANSWER.RETRY], ['Ignore', ANSWER.IGNORE]],
    [['Yes', ANSWER.YES], ['No', ANSWER.NO], ['Cancel', ANSWER.CANCEL]],
    [['Yes', ANSWER.YES], ['No', ANSWER.NO]],
    [['Retry', ANSWER.RETRY], ['Cancel', ANSWER.CANCEL]],
  ];
  const ICON_OF_TYPE = { 0x10: ['hand', '\u00d7'], 0x20: ['question', '?'], 0x30: ['exclamation', '!'], 0x40: ['asterisk', 'i'] };
  const SETUP_DIALOG = 102;
  const PROGRESS_DIALOG = 129;
  const READ_PORT = 1001;
  const WRITE_NOW = 1015;
  // Pixels a dialog unit: the dialog font's base units are 8 by 16 pixels here.
  const DLU_X = 2;
  const DLU_Y = 2;
  // A combo box's template height includes its dropped list; the closed box is this high.
  const COMBO_HEIGHT = 12;
  const BS_DEFPUSHBUTTON = 1;
  const WS_SYSMENU = 0x00080000;
  const EEPROM_SIZE = 2048;
  const CARD_FOLDER = '/card';
  const HOME = '/home/web';
  const KEYS = [
    ['Tab, Shift-Tab', 'next or previous field or button'],
    ['Up, Down, a character', 'change the entry of a field'],
    ['Alt-Down, Space', 'open the list of a field'],
    ['Space', 'press the focused button'],
    ['Enter', 'press the focused button; on a field: OK'],
    ['Escape', 'Cancel: leave, write nothing'],
    ['F1', 'this help'],
    ['F11', 'Read Port: dump the EEPROM start'],
    ['F12', 'Button1: write the EEPROM at once'],
  ];

  const page = {
    actions: [],
    answer: 0,
    dialogs: [],
    windows: new Map(),  // template ID -> drawn window
    running: null,       // the program's run, a promise, while it runs
    card: null,          // { name, path, before, factory }
    nextCard: null,
    written: [],
    progressSeen: false,
    downloads: [],
  };

  const $ = (id) => document.getElementById(id);

  // ---- What the program calls -------------------------------------------------------------
  window.vymPage = {
    showDialogs(json) {
      page.dialogs = JSON.parse(json);
      drawDialogs();
      drawResourceMap();
    },
    takeAction() {
      return page.actions.shift() || null;
    },
    openMessageBox(text, caption, type) {
      openMessageBox(text, caption, type);
    },
    takeAnswer() {
      const answer = page.answer;
      page.answer = 0;
      return answer;
    },
    fileWritten(path, size) {
      page.written.push({ path, size });
    },
    showKeys() {
      if (!$('keys-box').open) {
        $('keys-box').showModal();
        $('keys-ok').focus();
      }
    },
  };

  function queue(kind, id, index) {
    page.actions.push([kind, id || 0, index || 0]);
  }

  // ---- Dialogs ----------------------------------------------------------------------------
  function labelFor(control, controls) {
    // The label of a field stands left of it on the same line, as the template places it.
    let best = null;
    for (const other of controls) {
      if (other.kind !== 'label') continue;
      const [x, y] = other.rect;
      if (x < control.rect[0] && Math.abs(y - control.rect[1]) <= 6 &&
          (!best || x > best.rect[0])) {
        best = other;
      }
    }
    return best;
  }

  function place(element, rect, height) {
    element.style.left = rect[0] * DLU_X + 'px';
    element.style.top = rect[1] * DLU_Y + 'px';
    element.style.width = rect[2] * DLU_X + 'px';
    element.style.height = (height !== undefined ? height : rect[3]) * DLU_Y + 'px';
  }

  function createWindow(dialog) {
    const win = document.createElement('div');
    win.className = 'window';
    win.setAttribute('role', 'dialog');
    win.dataset.template = dialog.templateId;
    const titleId = 'title-' + dialog.templateId;
    win.setAttribute('aria-labelledby', titleId);
    const caption = document.createElement('div');
    caption.className = 'caption';
    caption.id = titleId;
    win.appendChild(caption);
    if ((dialog.style & WS_SYSMENU) && dialog.templateId !== PROGRESS_DIALOG) {
      // The close box: Cancel, as Escape. The progress dialog takes no input while it writes.
      const close = win.appendChild(document.createElement('button'));
      close.type = 'button';
      close.className = 'close-box';
      close.tabIndex = -1;
      close.setAttribute('aria-label', 'Close');
      close.textContent = '\u00d7';
      close.addEventListener('click', () => queue(ACTION.CLOSE));
    }
    const client = document.createElement('div');
    client.className = 'client';
    client.style.width = dialog.rect[2] * DLU_X + 'px';
    client.style.height = dialog.rect[3] * DLU_Y + 'px';
    win.appendChild(client);
    const elements = new Map();
    const labelled = new Map();
    for (const control of dialog.controls) {
      if (control.kind === 'combo') {
        const label = labelFor(control, dialog.controls);
        if (label) labelled.set(label, control.id);
      }
    }
    dialog.controls.forEach((control, index) => {
      let element;
      const domId = 'control-' + dialog.templateId + '-' + (control.id >= 0 ? control.id : 'n' + index);
      switch (control.kind) {
        case 'combo':
          element = document.createElement('select');
          place(element, control.rect, COMBO_HEIGHT);
          element.addEventListener('change', () => queue(ACTION.PICK, control.id, element.selectedIndex));
          break;
        case 'button':
          element = document.createElement('button');
          element.type = 'button';
          if ((control.style & 0xf) === BS_DEFPUSHBUTTON) element.classList.add('default');
          place(element, control.rect);
          element.addEventListener('click', () => queue(ACTION.CLICK, control.id));
          break;
        case 'group':
          element = document.createElement('div');
          element.className = 'group';
          element.setAttribute('role', 'group');
          element.setAttribute('aria-label', control.text);
          element.appendChild(document.createElement('span')).textContent = control.text;
          element.firstChild.setAttribute('aria-hidden', 'true');
          place(element, [control.rect[0], control.rect[1] + 4, control.rect[2], control.rect[3] - 4]);
          break;
        case 'label':
          element = document.createElement('label');
          if (labelled.has(control)) {
            element.htmlFor = 'control-' + dialog.templateId + '-' + labelled.get(control);
          }
          place(element, control.rect);
          break;
        case 'progress':
          element = document.createElement('progress');
          element.setAttribute('aria-label', dialog.text);
          place(element, control.rect);
          break;
        default:
          element = document.createElement('div');
          place(element, control.rect);
      }
      element.id = domId;
      element.dataset.control = control.id;
      if (control.kind === 'combo' || control.kind === 'button') {
        element.addEventListener('focus', () => {
          if (currentDialog() && currentDialog().templateId === dialog.templateId) {
            queue(ACTION.FOCUS, control.id);
          }
        });
      }
      client.appendChild(element);
      elements.set(index, element);
    });
    return { element: win, caption, elements, shown: false };
  }

  function sameEntries(select, entries) {
    if (select.options.length !== entries.length) return false;
    return entries.every((entry, i) => select.options[i].text === entry.text);
  }

  function updateWindow(drawn, dialog) {
    drawn.caption.textContent = dialog.text;
    dialog.controls.forEach((control, index) => {
      const element = drawn.elements.get(index);
      element.hidden = !control.visible;
      if ('disabled' in element) element.disabled = !control.enabled;
      switch (control.kind) {
        case 'combo':
          if (!sameEntries(element, control.entries)) {
            element.replaceChildren(...control.entries.map((entry) => new Option(entry.text)));
          }
          if (element.selectedIndex !== control.selection) element.selectedIndex = control.selection;
          break;
        case 'button':
        case 'label':
          if (element.textContent !== control.text) element.textContent = control.text;
          break;
        case 'progress':
          element.max = Math.max(1, control.range[1] - control.range[0]);
          element.value = control.position - control.range[0];
          break;
      }
    });
  }

  function currentDialog() {
    return page.dialogs.length ? page.dialogs[page.dialogs.length - 1] : null;
  }

  function drawDialogs() {
    const desktop = $('desktop');
    const present = new Set(page.dialogs.map((dialog) => dialog.templateId));
    for (const [templateId, drawn] of page.windows) {
      if (!present.has(templateId)) {
        drawn.element.remove();
        page.windows.delete(templateId);
      }
    }
    page.dialogs.forEach((dialog, index) => {
      let drawn = page.windows.get(dialog.templateId);
      if (!drawn) {
        drawn = createWindow(dialog);
        if (index > 0) drawn.element.classList.add('overlay');
        desktop.appendChild(drawn.element);
        page.windows.set(dialog.templateId, drawn);
      }
      updateWindow(drawn, dialog);
      const active = index === page.dialogs.length - 1;
      drawn.element.inert = !active;
      drawn.element.setAttribute('aria-modal', active ? 'true' : 'false');
      if (dialog.templateId === PROGRESS_DIALOG) page.progressSeen = true;
      if (active) {
        // The program's focus is the page's when the dialog first shows and whenever the
        // page's focus is outside it.
        const focused = dialog.controls.findIndex((control) => control.id === dialog.focus);
        const element = focused >= 0 ? drawn.elements.get(focused) : null;
        if (element && (!drawn.shown || !drawn.element.contains(document.activeElement)) &&
            !$('message-box').open && !$('keys-box').open) {
          element.focus();
        }
        drawn.shown = true;
      }
    });
  }

  // ---- Message boxes ----------------------------------------------------------------------
  function openMessageBox(text, caption, type) {
    if (page.nextCard) {
      // Another card was opened: the run ends, so what it still had to ask goes unanswered.
      page.answer = ANSWER.CANCEL;
      return;
    }
    const box = $('message-box');
    $('message-caption').textContent = caption;
    $('message-text').textContent = text.replace(/\r\n/g, '\n').replace(/\n+$/, '');
    const icon = ICON_OF_TYPE[type & 0xf0];
    $('message-icon').className = icon ? icon[0] : '';
    $('message-icon').textContent = icon ? icon[1] : '';
    const buttons = BUTTONS_OF_TYPE[type & 0xf] || BUTTONS_OF_TYPE[0];
    const row = $('message-buttons');
    row.replaceChildren();
    buttons.forEach(([text, answer]) => {
      const button = document.createElement('button');
      button.type = 'button';
      button.textContent = text;
      button.addEventListener('click', () => answerMessageBox(answer));
      row.appendChild(button);
    });
    // Boxes can follow each other at once; their number tells one from the next.
    box.dataset.sequence = Number(box.dataset.sequence || 0) + 1;
    box.showModal();
    const defaultIndex = (type >> 8) & 0xf;
    (row.children[defaultIndex] || row.children[0]).focus();
  }

  function answerMessageBox(answer) {
    page.answer = answer;
    $('message-box').close();
  }

  $('message-box').addEventListener('cancel', (event) => {
    // Escape: Cancel where the box has it; the program takes it as the box's safe answer.
    event.preventDefault();
    answerMessageBox(ANSWER.CANCEL);
  });

  $('keys-table').replaceChildren(...KEYS.map(([keys, what]) => {
    const row = document.createElement('tr');
    row.appendChild(document.createElement('th')).textContent = keys;
    row.appendChild(document.createElement('td')).textContent = what;
    return row;
  }));
  $('keys-ok').addEventListener('click', () => $('keys-box').close());
  $('keys-box').addEventListener('close', () => drawDialogs());

  // ---- Keys of a dialog -------------------------------------------------------------------
  document.addEventListener('keydown', (event) => {
    if ($('message-box').open || $('keys-box').open) return;
    const dialog = currentDialog();
    if (!dialog || dialog.templateId === PROGRESS_DIALOG) return;  // a write takes no input
    if (!$('desktop').contains(document.activeElement) && document.activeElement !== document.body) return;
    const keys = {
      Enter: () => queue(ACTION.ENTER),
      Escape: () => queue(ACTION.ESCAPE),
      F1: () => queue(ACTION.HELP),
      F11: () => queue(ACTION.CLICK, READ_PORT),
      F12: () => queue(ACTION.CLICK, WRITE_NOW),
    };
    const key = keys[event.key];
    if (key && !event.altKey && !event.ctrlKey && !event.metaKey) {
      event.preventDefault();
      key();
    }
  });

  // ---- Resource map -----------------------------------------------------------------------
  // Each device's fields and the length of each I/O range the program writes for it.
  const DEVICES = [
    { name: 'Windows Sound System', color: '#1f77b4', io: [[1003, 4]], irq: [1004], dma: [1005, 1006] },
    { name: 'FM Synth', color: '#2ca02c', io: [[1010, 4]] },
    { name: 'SB Pro', color: '#9467bd', io: [[1011, 16]] },
    { name: 'Midi-1 / Synth', color: '#ff7f0e', io: [[1007, 2]], irq: [1008] },
    { name: 'Digital Control', color: '#8c564b', io: [[1009, 8]] },
    { name: 'Gameport', color: '#e377c2', io: [[1012, 1]] },
    { name: 'Midi-2', color: '#17becf', io: [[1013, 2]], irq: [1014] },
  ];
  const CHOICE_PNP = 255;
  const CHOICE_DISABLED = 4095;
  const hex = (value) => value.toString(16).toUpperCase();

  function choiceOf(dialog, id) {
    const control = dialog.controls.find((c) => c.id === id);
    if (!control || control.selection < 0) return null;
    const entry = control.entries[control.selection];
    return entry ? entry.data : null;
  }

  function slotGrid(title, count, uses, name) {
    const box = document.createElement('div');
    box.appendChild(document.createElement('h3')).textContent = title;
    const grid = box.appendChild(document.createElement('div'));
    grid.className = 'slots';
    grid.style.gridTemplateColumns = `repeat(${count > 8 ? 8 : count}, 1fr)`;
    for (let n = 0; n < count; ++n) {
      const users = uses.filter((use) => use.value === n);
      const slot = grid.appendChild(document.createElement('div'));
      slot.className = 'slot' + (users.length > 1 ? ' overlap' : '');
      slot.setAttribute('role', 'img');
      slot.setAttribute('aria-label', `${name} ${n}: ` + (users.length ? users.map((u) => u.label).join(', ') : 'free') +
        (users.length > 1 ? ' (overlap)' : ''));
      slot.title = slot.getAttribute('aria-label');
      slot.appendChild(document.createElement('span')).className = 'number';
      slot.firstChild.textContent = n;
      const bars = slot.appendChild(document.createElement('span'));
      bars.className = 'users';
      users.forEach((use) => { bars.appendChild(document.createElement('span')).style.background = use.color; });
    }
    return box;
  }

  function drawResourceMap() {
    const dialog = page.dialogs.find((d) => d.templateId === SETUP_DIALOG);
    if (!dialog) return;
    const irqs = [], dmas = [], ranges = [], legend = [];
    for (const device of DEVICES) {
      const notes = [];
      const label = (id) => {
        const control = dialog.controls.find((c) => c.id === id);
        const text = control ? (labelFor(control, dialog.controls) || {}).text : '';
        return text || device.name;
      };
      const take = (id, into, extra) => {
        const value = choiceOf(dialog, id);
        if (value === null) { notes.push(`${label(id)} none`); return; }
        if (value === CHOICE_PNP) { notes.push(`${label(id)} PnP`); return; }
        if (value === CHOICE_DISABLED) { notes.push(`${label(id)} off`); return; }
        into.push(Object.assign({ value, label: label(id), color: device.color }, extra));
      };
      (device.irq || []).forEach((id) => take(id, irqs));
      (device.dma || []).forEach((id) => take(id, dmas));
      (device.io || []).forEach(([id, length]) => take(id, ranges, { length }));
      legend.push({ device, notes });
    }
    $('map-irq').replaceChildren(slotGrid('IRQ', 16, irqs, 'IRQ'));
    $('map-dma').replaceChildren(slotGrid('DMA', 8, dmas, 'DMA'));

    const io = document.createElement('div');
    io.appendChild(document.createElement('h3')).textContent = 'I/O ports';
    const strip = io.appendChild(document.createElement('div'));
    strip.className = 'io-strip';
    strip.setAttribute('aria-hidden', 'true');
    const low = 0x200, high = 0x700;
    for (let at = low; at <= high; at += 0x100) {
      const tick = strip.appendChild(document.createElement('span'));
      tick.className = 'axis';
      tick.style.left = ((at - low) / (high - low)) * 100 + '%';
      tick.textContent = hex(at);
    }
    const list = io.appendChild(document.createElement('ul'));
    list.className = 'io-list';
    ranges.sort((a, b) => a.value - b.value);
    for (const range of ranges) {
      const end = range.value + range.length - 1;
      const overlap = ranges.some((other) => other !== range && other.value <= end &&
        range.value <= other.value + other.length - 1);
      const bar = strip.appendChild(document.createElement('span'));
      bar.style.background = range.color;
      bar.style.left = ((Math.max(range.value, low) - low) / (high - low)) * 100 + '%';
      bar.style.width = (range.length / (high - low)) * 100 + '%';
      const item = list.appendChild(document.createElement('li'));
      item.className = overlap ? 'overlap' : '';
      item.appendChild(document.createElement('span')).className = 'swatch';
      item.firstChild.style.background = range.color;
      item.appendChild(document.createTextNode(
        `${hex(range.value)}-${hex(end)} ${range.label}` + (overlap ? ' (overlap)' : '')));
    }
    $('map-io').replaceChildren(io);
    $('map-legend').replaceChildren(...legend.map(({ device, notes }) => {
      const item = document.createElement('li');
      item.appendChild(document.createElement('span')).className = 'swatch';
      item.firstChild.style.background = device.color;
      item.appendChild(document.createTextNode(device.name + (notes.length ? ': ' + notes.join(', ') : '')));
      return item;
    }));
  }

  // ---- The card and the program's runs ----------------------------------------------------
  function listFiles(folder) {
    const files = [];
    const FS = Module.FS;
    let names = [];
    try { names = FS.readdir(folder); } catch (error) { return files; }
    for (const name of names) {
      if (name === '.' || name === '..') continue;
      const path = folder + '/' + name;
      const stat = FS.stat(path);
      if (FS.isDir(stat.mode)) files.push(...listFiles(path));
      else files.push(path);
    }
    return files;
  }

  function sameBytes(a, b) {
    if (a.length !== b.length) return false;
    for (let i = 0; i < a.length; ++i) if (a[i] !== b[i]) return false;
    return true;
  }

  function offer(name, bytes, what) {
    const url = URL.createObjectURL(new Blob([bytes], { type: 'application/octet-stream' }));
    page.downloads.push(url);
    const item = $('downloads').appendChild(document.createElement('li'));
    const link = item.appendChild(document.createElement('a'));
    link.href = url;
    link.download = name;
    link.textContent = 'Save ' + name;
    item.appendChild(document.createTextNode(` (${what}, ${bytes.length} bytes)`));
  }

  function clearResults() {
    page.downloads.forEach((url) => URL.revokeObjectURL(url));
    page.downloads = [];
    $('downloads').replaceChildren();
    $('results').hidden = true;
  }

  function run() {
    const card = page.card;
    clearResults();
    page.written = [];
    page.progressSeen = false;
    const homeBefore = new Set(listFiles(HOME));
    page.running = Module.ccall('vym_run', 'number', ['string'], [card.path], { async: true });
    page.running.then(() => {
      page.running = null;
      page.actions = [];
      page.dialogs = [];
      drawDialogs();
      if (page.nextCard) {
        const next = page.nextCard;
        page.nextCard = null;
        startCard(next.name, next.bytes);
        return;
      }
      showResults(card, homeBefore);
    }, (error) => {
      // The program itself failed (out of memory, say): the page says so instead of hanging.
      page.running = null;
      const problem = $('card-problem');
      problem.hidden = false;
      problem.textContent = `The program stopped with an error: ${error}. Reload the page to start again.`;
    });
  }

  function showResults(card, homeBefore) {
    const FS = Module.FS;
    let after = null;
    try { after = FS.readFile(card.path); } catch (error) { after = null; }
    if (after && (page.progressSeen || !sameBytes(after, card.before))) {
      offer(card.name, after, 'the new image');
    }
    for (const path of listFiles(HOME)) {
      if (!homeBefore.has(path)) offer(path.split('/').pop(), FS.readFile(path), 'backup of the card as it was');
    }
    for (const file of page.written) {
      try { offer(file.path.split('/').pop(), FS.readFile(file.path), 'diagnostic dump'); } catch (error) { /* gone */ }
    }
    if (after) card.before = after;
    $('results').hidden = false;
  }

  function startCard(name, bytes) {
    if (page.running) {
      // The program ends as at a quit and starts again on the new card.
      page.nextCard = { name, bytes };
      page.actions = [[ACTION.END, 0, 0]];
      if ($('message-box').open) answerMessageBox(ANSWER.CANCEL);
      return;
    }
    const FS = Module.FS;
    for (const path of listFiles(CARD_FOLDER)) FS.unlink(path);
    const safeName = name.replace(/[\/\\]/g, '_') || 'eeprom.bin';
    const path = CARD_FOLDER + '/' + safeName;
    FS.writeFile(path, bytes);
    page.card = { name: safeName, path, before: bytes, factory: false };
    $('card-note').textContent = `Card: ${name} (${bytes.length} bytes)`;
    const problem = $('card-problem');
    problem.hidden = bytes.length === EEPROM_SIZE;
    problem.textContent = problem.hidden ? '' :
      `${name}: ${bytes.length} bytes; a card's EEPROM image is exactly ${EEPROM_SIZE} bytes.`;
    run();
  }

  function startFactoryCard() {
    const FS = Module.FS;
    const path = CARD_FOLDER + '/eeprom.bin';
    Module.ccall('vym_write_factory_image', 'number', ['string'], [path]);
    page.card = { name: 'eeprom.bin', path, before: FS.readFile(path), factory: true };
    $('card-note').textContent = 'Card: the factory image (no card file opened): open a dump to work on your card.';
    run();
  }

  function openFile(file) {
    if (!file) return;
    const reader = new FileReader();
    reader.onload = () => startCard(file.name, new Uint8Array(reader.result));
    reader.onerror = () => {
      const problem = $('card-problem');
      problem.hidden = false;
      problem.textContent = `${file.name}: cannot be read (${reader.error ? reader.error.message : 'unknown error'}).`;
    };
    reader.readAsArrayBuffer(file);
  }

  $('card-file').addEventListener('change', (event) => {
    openFile(event.target.files[0]);
    event.target.value = '';
  });
  document.addEventListener('dragover', (event) => {
    event.preventDefault();
    document.body.classList.add('dragging');
  });
  document.addEventListener('dragleave', () => document.body.classList.remove('dragging'));
  document.addEventListener('drop', (event) => {
    event.preventDefault();
    document.body.classList.remove('dragging');
    openFile(event.dataTransfer.files[0]);
  });
  $('run-again').addEventListener('click', () => {
    if (!page.running && page.card) run();
  });

  window.Module = {
    onRuntimeInitialized() {
      Module.FS.mkdirTree(CARD_FOLDER);
      Module.FS.mkdirTree(HOME);
      Module.FS.mkdirTree('/drive-c');
      startFactoryCard();
    },
    print: (text) => console.log(text),
    printErr: (text) => console.warn(text),
  };
})();
