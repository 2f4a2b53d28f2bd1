// A frame of the preview with the scene primitives, 100 triangles, 100 quads, 10 texts and
// one .x mesh, beside the plain frame of the sample mesh, on the same device in the same
// run. Every primitive is rebuilt at every frame, as the preview does. Each frame is timed
// until the device has finished it (an event query). Timed in the process under Wine;
// prints the medians.

#include "toolkit/form.h"
#include "viewport/d3d_panel.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

using namespace KelUtility;
using Clock = std::chrono::steady_clock;

namespace {

constexpr int kFrames = 60;
const char* const kMeshFile = "scene_bench.x";

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// The median time of a frame, finished on the device.
double TimeFrames(D3DPanel& panel) {
    Microsoft::WRL::ComPtr<IDirect3DQuery9> finished;
    panel.device->CreateQuery(D3DQUERYTYPE_EVENT, &finished);
    std::vector<double> milliseconds;
    for (int frame = 0; frame < kFrames; ++frame) {
        const Clock::time_point start = Clock::now();
        Clock::time_point drawn = start;
        panel.DrawAndCapture([&](IDirect3DSurface9&) {
            finished->Issue(D3DISSUE_END);
            while (finished->GetData(nullptr, 0, D3DGETDATA_FLUSH) == S_FALSE) {
            }
            drawn = Clock::now();
        });
        milliseconds.push_back(std::chrono::duration<double, std::milli>(drawn - start).count());
    }
    return Median(milliseconds);
}

void AddPrimitives(std::vector<SceneTriangle>& triangles, std::vector<SceneQuad>& quads,
                   std::vector<SceneText>& texts, std::vector<SceneXMesh>& xMeshes) {
    for (int i = 0; i < 100; ++i) {
        const double x = (i % 10) - 5.0;
        const double y = (i / 10) * 0.8 - 4.0;
        SceneTriangle triangle;
        triangle.Tag = 5;
        triangle.Corners[0] = {x, y, 2};
        triangle.Corners[1] = {x + 0.5, y + 0.6, 2};
        triangle.Corners[2] = {x + 1, y, 2};
        triangle.Color = 0x00FF8000;
        triangles.push_back(triangle);
        SceneQuad quad;
        quad.Tag = 7;
        quad.Corners[0] = {x, y, 3};
        quad.Corners[1] = {x + 0.8, y + 0.7, 3};
        quad.Corners[2] = {x, y + 0.7, 3};
        quad.Corners[3] = {x + 0.8, y, 3};
        quad.Color = 0x0000C000;
        quads.push_back(quad);
    }
    for (int i = 0; i < 10; ++i) {
        SceneText text;
        text.Text = "Kel " + std::to_string(i);
        text.Height = 16;
        text.FaceName = "Arial";
        text.X = 10 + 60 * (i % 5);
        text.Y = 10 + 20 * (i / 5);
        text.Visible = true;
        text.Color = 0xFF000000;
        texts.push_back(text);
    }
    SceneXMesh mesh;
    mesh.File = kMeshFile;
    mesh.X = 2;
    mesh.Visible = true;
    xMeshes.push_back(mesh);
}

} // namespace

int main() {
    Form form(GetModuleHandleW(nullptr));
    form.SetSize(700, 560);
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
    MyApp::MeshDocument sample;
    sample.ResetToSample();
    const SceneMesh shown = ToSceneMesh(sample);
    std::int32_t error = 0;
    panel.SaveMeshToX(kMeshFile, error, shown);

    panel.SetScene({}, {}, {}, {}, {}, {}, {shown});
    const double plain = TimeFrames(panel);
    std::vector<SceneTriangle> triangles;
    std::vector<SceneQuad> quads;
    std::vector<SceneText> texts;
    std::vector<SceneXMesh> xMeshes;
    AddPrimitives(triangles, quads, texts, xMeshes);
    panel.SetScene(triangles, quads, {}, xMeshes, texts, {}, {shown});
    const double scene = TimeFrames(panel);
    std::remove(kMeshFile);
    std::printf("Frame at 640 x 480, median of %d: the sample mesh %.2f ms; with 100 triangles, "
                "100 quads, 10 texts and one .x mesh %.2f ms\n",
                kFrames, plain, scene);
    return 0;
}
