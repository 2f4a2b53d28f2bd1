// One frame of the preview under the platform's Direct3D 9: a record of 65,535 vertices and
// 1,000 faces, rebuilt into a device mesh at every paint as the preview does; and the
// largest mesh, a wavy grid of 65,535 vertices and 130,048 faces, plain, shaded and shaded
// with its edges. Timed in the process, since it needs Windows (or Wine): prints the
// medians of the frames.

#include "toolkit/form.h"
#include "viewport/d3d_panel.h"

#include <algorithm>
#include <cmath>
#include <chrono>
#include <cstdio>
#include <vector>

using namespace KelUtility;

namespace {

constexpr int kFrames = 60;

SceneMesh LargestRecord() {
    SceneMesh record;
    record.Visible = true;
    record.FaceCount = 1000;
    for (int i = 0; i < 65535; ++i) {
        const double angle = i * 0.001;
        record.Vertices.push_back(MeshVertex{std::cos(angle) * 2, (i % 300) * 0.01 - 1.5,
                                             std::sin(angle) * 2, 0x0080FFu, 0, 0});
    }
    return record;
}

SceneMesh LargestGrid() {
    constexpr int kColumns = 255;
    constexpr int kRows = 257;
    SceneMesh record;
    record.Visible = true;
    for (int row = 0; row < kRows; ++row) {
        for (int column = 0; column < kColumns; ++column) {
            const double x = (column - kColumns / 2) * 0.02;
            const double y = (row - kRows / 2) * 0.02;
            record.Vertices.push_back(
                MeshVertex{x, y, 0.3 * std::sin(4 * x) * std::cos(4 * y), 0x0080FFu, 0, 0});
        }
    }
    for (int row = 0; row + 1 < kRows; ++row) {
        for (int column = 0; column + 1 < kColumns; ++column) {
            const auto at = [](int r, int c) { return static_cast<std::uint16_t>(r * kColumns + c); };
            record.Indices.insert(record.Indices.end(),
                                  {at(row, column), at(row + 1, column), at(row, column + 1),
                                   at(row, column + 1), at(row + 1, column), at(row + 1, column + 1)});
        }
    }
    record.FaceCount = static_cast<std::int32_t>(record.Indices.size() / 3);
    return record;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// kFrames paints, each timed.
std::vector<double> PaintTimes(D3DPanel& panel) {
    std::vector<double> milliseconds;
    for (int frame = 0; frame < kFrames; ++frame) {
        const auto start = std::chrono::steady_clock::now();
        panel.Redraw();
        const std::chrono::duration<double, std::milli> took =
            std::chrono::steady_clock::now() - start;
        milliseconds.push_back(took.count());
    }
    return milliseconds;
}

// The median of kFrames paints, after one that builds what the looks need.
double MedianPaint(D3DPanel& panel) {
    panel.Redraw();
    return Median(PaintTimes(panel));
}

} // namespace

int main() {
    Form form(GetModuleHandleW(nullptr));
    form.SetSize(700, 540);
    form.Create();
    D3DPanel panel(&form);
    panel.SetPosition(0, 0);
    panel.SetSize(640, 480);
    panel.UseCamera = false;
    panel.Create();
    if (!panel.device) {
        std::puts("no Direct3D device");
        return 1;
    }
    panel.SetScene({}, {}, {}, {}, {}, {}, {LargestRecord()});
    const std::vector<double> milliseconds = PaintTimes(panel);
    std::printf("Paint of 65,535 vertices and 1,000 faces: median %.2f ms over %d frames "
                "(fastest %.2f ms)\n",
                Median(milliseconds), kFrames,
                *std::min_element(milliseconds.begin(), milliseconds.end()));

    panel.SetScene({}, {}, {}, {}, {}, {}, {LargestGrid()});
    panel.EyeZ = -6;
    MedianPaint(panel); // the first frames of a new mesh pay for the device's warming up
    const double plain = MedianPaint(panel);
    panel.Shaded = true;
    const double shaded = MedianPaint(panel);
    panel.ShowEdges = true;
    const double edges = MedianPaint(panel);
    std::printf("Paint of 65,535 vertices and 130,048 faces: unlit median %.2f ms; shaded median "
                "%.2f ms, ratio %.2f; shaded with edges median %.2f ms, ratio %.2f\n",
                plain, shaded, shaded / plain, edges, edges / plain);
    return 0;
}
