// The browser's backend, the calls the web program's entry makes of it beside the host table.
#pragma once

void WebQueueLookedAway();  // the tab was hidden: every button lets go, and the focus is lost
