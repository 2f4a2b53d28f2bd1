// What showing a preview frame on screen costs at 640 x 480, beside the frame itself: the
// sample pyramid in a panel inside a panel of a form, as in the editor. Each frame is timed
// until the device has finished drawing it (an event query); the showing is timed from
// there until the paint returns: the platform's present, or the copy through GDI where the
// platform's present does not reach the screen. Timed in the process under Wine; prints the
// medians.

#include "toolkit/form.h"
#include "viewport/d3d_panel.h"
#include "viewport/gdi_presenter.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

using namespace KelUtility;
using Clock = std::chrono::steady_clock;

namespace {

constexpr int kFrames = 200;
constexpr double kDegree = 0.017453292;

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double Milliseconds(Clock::time_point from, Clock::time_point to) {
    return std::chrono::duration<double, std::milli>(to - from).count();
}

} // namespace

int main() {
    Form form(GetModuleHandleW(nullptr));
    form.SetSize(700, 560);
    form.Create();
    PanelChildren viewport(&form);
    viewport.SetPosition(10, 10);
    viewport.SetSize(660, 500);
    viewport.Create();
    D3DPanel panel(&viewport);
    panel.SetPosition(0, 0);
    panel.SetSize(640, 480);
    panel.UseCamera = false;
    panel.Create();
    MyApp::MeshDocument sample;
    sample.ResetToSample();
    panel.SetScene({}, {}, {}, {}, {}, {}, {ToSceneMesh(sample)});
    panel.EyeY = 3;
    panel.EyeZ = -5;
    panel.Yaw = 33 * kDegree;
    Microsoft::WRL::ComPtr<IDirect3DQuery9> finished;
    if (!panel.device || FAILED(panel.device->CreateQuery(D3DQUERYTYPE_EVENT, &finished))) {
        std::puts("no Direct3D device or event query");
        return 1;
    }
    std::vector<double> drawing;
    std::vector<double> showing;
    for (int frame = 0; frame < kFrames; ++frame) {
        const Clock::time_point start = Clock::now();
        Clock::time_point drawn = start;
        panel.DrawAndCapture([&](IDirect3DSurface9&) {
            finished->Issue(D3DISSUE_END);
            while (finished->GetData(nullptr, 0, D3DGETDATA_FLUSH) == S_FALSE) {
            }
            drawn = Clock::now();
        });
        const Clock::time_point shown = Clock::now();
        drawing.push_back(Milliseconds(start, drawn));
        showing.push_back(Milliseconds(drawn, shown));
    }
    std::printf("Frame of the sample pyramid at 640 x 480: median %.2f ms; showing it %s: "
                "median %.2f ms (%d frames)\n",
                Median(drawing), GdiPresenter::Needed() ? "through GDI" : "with Present",
                Median(showing), kFrames);
    return 0;
}
