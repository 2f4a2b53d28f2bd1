#pragma once

// The wait cursor over the program's windows while work that may take a second or more
// holds the window's thread (an import, a large texture), and work taken off that thread
// while the windows go on painting.

#include <functional>

#include <windows.h>

namespace KelUtility {

// Shows the wait cursor from its making to its end; nested ones leave it to the outermost.
class BusyCursor {
public:
    BusyCursor();
    ~BusyCursor();
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;

private:
    bool m_wasBusy;
    HCURSOR m_previous;
};

// Runs work on a thread of its own and returns when it is done, showing the wait cursor
// meanwhile. The window's thread only paints while it waits: input stays queued until the
// work is done, as it would while the thread itself worked, so that nothing the work reads
// changes under it. An exception the work throws is thrown here.
void RunOffWindowThread(const std::function<void()>& work);

} // namespace KelUtility
