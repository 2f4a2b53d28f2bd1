// The files a preview writes: a picture of its frame, the mesh of a record, and the small
// view-state file it can also read back. Each is written in place of the old file only
// once it is complete.

#include "viewport/d3d_panel.h"

#include "app/number_text.h"
#include "app/safe_save.h"
#include "app/text_file.h"
#include "toolkit/system_dialogs.h"
#include "toolkit/text_conversion.h"
#include "viewport/view_state_file.h"
#include "viewport/x_mesh_writer.h"

#include <cstdio>

using Microsoft::WRL::ComPtr;

namespace KelUtility {
namespace {

constexpr std::int32_t kNoMesh = 1;
constexpr std::int32_t kNotWritten = 2;

bool ReadWholeFile(const std::string& path, std::string& content) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr)
        return false;
    char block[4096];
    std::size_t got;
    while ((got = std::fread(block, 1, sizeof block, file)) > 0)
        content.append(block, got);
    const bool read = std::ferror(file) == 0;
    std::fclose(file);
    return read;
}

} // namespace

bool D3DPanel::SavePicture(const std::string& fileName) {
    ComPtr<ID3DXBuffer> picture;
    DrawAndCapture([&](IDirect3DSurface9& backBuffer) {
        D3DXSaveSurfaceToFileInMemory(&picture, D3DXIFF_PNG, &backBuffer, nullptr, nullptr);
    });
    return picture &&
           MyApp::SafeSaveBytes(fileName, picture->GetBufferPointer(), picture->GetBufferSize());
}

bool D3DPanel::SaveMeshToX(const std::string& fileName, std::int32_t& error, SceneMesh record) {
    error = 0;
    const std::optional<std::vector<std::string>> lines = XMeshLines(record);
    if (!lines) {
        error = kNoMesh;
        return false;
    }
    // A name cut short would point at another file.
    if (record.TextureFile.size() > kMaximumTextureName) {
        error = kNotWritten;
        return false;
    }
    MyApp::TextFile file(fileName);
    file.WriteLines(*lines);
    if (file.Failed)
        error = kNotWritten;
    return !file.Failed;
}

// "data\file.x" under the current folder; the folder "data" is made when it is missing.
std::string D3DPanel::ViewStatePath() const {
    std::string folder = CurrentDirectory();
    if (folder.empty() || (folder.back() != '/' && folder.back() != '\\'))
        folder += '\\';
    folder += "data";
    CreateDirectoryW(ToWide(folder).c_str(), nullptr);
    return folder + "\\file.x";
}

bool D3DPanel::SaveViewState() {
    ViewState state;
    state.x = MyApp::NarrowToFloat(Pitch);
    state.y = MyApp::NarrowToFloat(Yaw);
    state.z = MyApp::NarrowToFloat(Roll);
    state.px = MyApp::NarrowToFloat(EyeX);
    state.py = MyApp::NarrowToFloat(EyeY);
    state.pz = MyApp::NarrowToFloat(EyeZ);
    MyApp::TextFile file(ViewStatePath());
    file.WriteLines(ViewStateLines(state));
    return !file.Failed;
}

bool D3DPanel::LoadViewState() {
    const std::string path = ViewStatePath();
    if (GetFileAttributesW(ToWide(path).c_str()) == INVALID_FILE_ATTRIBUTES)
        return true;
    std::string content;
    if (!ReadWholeFile(path, content))
        return false;
    const ViewStateReading reading = ReadViewState(content);
    if (!reading.readable)
        return false;
    if (reading.state) {
        Pitch = reading.state->x;
        Yaw = reading.state->y;
        Roll = reading.state->z;
        EyeX = reading.state->px;
        EyeY = reading.state->py;
        EyeZ = reading.state->pz;
    }
    return true;
}

} // namespace KelUtility
