#pragma once

// Handles every message waiting in this thread's queue, without waiting for more: each one
// goes through the pre-translation of its window and parents (so dialog keys such as Esc
// work), then is translated and dispatched. Long work on the user-interface thread calls
// it to keep its windows alive. A quit request is put back for the loops around it.
void PumpPendingMessages();
