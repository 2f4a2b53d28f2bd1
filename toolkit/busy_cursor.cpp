#include "toolkit/busy_cursor.h"

#include "toolkit/window_procedure.h"

#include <exception>
#include <system_error>
#include <thread>

namespace KelUtility {

BusyCursor::BusyCursor() : m_wasBusy(Dispatch().busy) {
    DispatchState& state = Dispatch();
    if (state.waitCursor == nullptr)
        state.waitCursor = LoadCursorW(nullptr, IDC_WAIT);
    state.busy = true;
    m_previous = SetCursor(state.waitCursor);
}

BusyCursor::~BusyCursor() {
    Dispatch().busy = m_wasBusy;
    if (!m_wasBusy)
        SetCursor(m_previous);
}

void RunOffWindowThread(const std::function<void()>& work) {
    const BusyCursor busy;
    const HANDLE done = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    if (done == nullptr) {
        work();
        return;
    }
    std::exception_ptr failure;
    std::thread worker;
    try {
        worker = std::thread([&] {
            try {
                work();
            } catch (...) {
                failure = std::current_exception();
            }
            SetEvent(done);
        });
    } catch (const std::system_error&) {
        // No thread to be had: the work is done here, the window held meanwhile.
        CloseHandle(done);
        work();
        return;
    }
    while (MsgWaitForMultipleObjects(1, &done, FALSE, INFINITE, QS_PAINT) == WAIT_OBJECT_0 + 1) {
        MSG message;
        while (PeekMessageW(&message, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE))
            DispatchMessageW(&message);
    }
    worker.join();
    CloseHandle(done);
    if (failure)
        std::rethrow_exception(failure);
}

} // namespace KelUtility
