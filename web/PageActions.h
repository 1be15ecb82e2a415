#pragma once

// What the page queues for the program, as the first of the three numbers of an action; the
// others are the control's ID and, for a pick, the entry's index. The page's script uses the
// same numbers (page/page.js).
enum EPageAction {
    PAGE_PICK = 1,
    PAGE_CLICK = 2,
    PAGE_ENTER = 3,
    PAGE_ESCAPE = 4,
    PAGE_HELP = 5,
    PAGE_FOCUS = 6,
    PAGE_CLOSE = 7,
    PAGE_END = 8,  // another card was opened: the program ends, to start again on it
};
