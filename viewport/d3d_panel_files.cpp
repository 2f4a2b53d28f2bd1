// The files a preview writes: a picture of its frame, the mesh of a record, and the small
// view-state file it can also read back. Each is written in place of the old file only
// once it is complete.

#include "viewport/d3d_panel.h"

#include "document/file_failure.h"
#include "document/model_files.h"
#include "document/number_text.h"
#include "document/safe_save.h"
#include "document/text_file.h"
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

// The program's text is UTF-8. Accented letters are spelled as their bytes, which every
// compiler keeps as written.
const char* const kNoDeviceForPicture =
    "Anteprima non disponibile: il dispositivo Direct3D non \xC3\xA8 stato creato.";
const char* const kNoFrame = "Anteprima non disponibile: il riquadro non ha un'area da disegnare.";
const char* const kNoPng = "Impossibile convertire l'anteprima in un'immagine PNG.";
const char* const kNoMeshText = "Il modello non forma una mesh: servono da 3 a 65.536 vertici "
                                "e almeno un triangolo completo.";
const char* const kTextureTooLong = "Il nome della texture \xC3\xA8 troppo lungo per un file .x.";
const char* const kTextureQuoted = "Il nome della texture contiene le virgolette (\"), che un "
                                   "file .x non pu\xC3\xB2 contenere.";

// Rewrites UTF-8 text in the system's 8-bit code page; false, with the text unchanged,
// when a character has no exact form there.
bool ToSystemCodePage(std::string& text) {
    if (text.empty())
        return true;
    const std::wstring wide = ToWide(text);
    const int wideLength = static_cast<int>(wide.size());
    BOOL defaulted = FALSE;
    const int length = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), wideLength,
                                           nullptr, 0, nullptr, &defaulted);
    if (length <= 0 || defaulted)
        return false;
    std::string converted(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), wideLength, &converted[0],
                        length, nullptr, nullptr);
    text = std::move(converted);
    return true;
}

} // namespace

bool D3DPanel::SavePicture(const std::string& fileName) {
    LastFileError.clear();
    ComPtr<ID3DXBuffer> picture;
    const bool drawn = DrawAndCapture([&](IDirect3DSurface9& backBuffer) {
        D3DXSaveSurfaceToFileInMemory(&picture, D3DXIFF_PNG, &backBuffer, nullptr, nullptr);
    });
    if (!drawn)
        LastFileError = device ? kNoFrame : kNoDeviceForPicture;
    else if (!picture)
        LastFileError = kNoPng;
    else if (std::string reason; !MyApp::SafeSaveBytes(fileName, picture->GetBufferPointer(),
                                                       picture->GetBufferSize(), &reason))
        LastFileError = MyApp::FileAndReason(fileName, reason);
    return LastFileError.empty();
}

bool D3DPanel::SaveMeshToX(const std::string& fileName, std::int32_t& error, SceneMesh record) {
    error = 0;
    LastFileError.clear();
    // DirectX readers take a .x file's strings in the system's code page, so the name is
    // written in it where it can be; a name the code page cannot spell stays in UTF-8,
    // which the readers that know it take.
    ToSystemCodePage(record.TextureFile);
    switch (XMeshProblemOf(record)) {
    case XMeshProblem::None:
        break;
    case XMeshProblem::NoMesh:
        error = kNoMesh;
        LastFileError = kNoMeshText;
        return false;
    // A name cut short would point at another file.
    case XMeshProblem::TextureNameTooLong:
        LastFileError = kTextureTooLong;
        break;
    case XMeshProblem::TextureNameQuoted:
        LastFileError = kTextureQuoted;
        break;
    }
    if (LastFileError.empty()) {
        MyApp::TextFile file(fileName);
        file.WriteLines(*XMeshLines(record));
        if (file.Failed)
            LastFileError = MyApp::FileAndReason(fileName, file.Reason);
    }
    if (!LastFileError.empty())
        error = kNotWritten;
    return error == 0;
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
    if (!MyApp::ReadWholeFile(path, content, kMaximumViewStateFile))
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
