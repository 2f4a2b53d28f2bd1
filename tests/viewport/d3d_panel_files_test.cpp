// The preview's files read back by the platform: the picture by D3DX's image loader, the
// mesh by D3DX's .x loader, the view state by the panel itself and by the platform's
// DirectX file reader.

#include "viewport/d3d_panel.h"

#include "toolkit/form.h"
#include "toolkit/system_dialogs.h"
#include "toolkit/text_conversion.h"
#include "viewport/mesh_geometry.h"
#include "viewport/view_state_file.h"

#include "tests/support/frame_pixels.h"
#include "tests/support/panel_test.h"
#include "tests/support/temporary_folder.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <dxfile.h>
#include <gtest/gtest.h>
#include <memory>

using namespace KelUtility;
using Microsoft::WRL::ComPtr;

namespace {

SceneMesh Sample() {
    MyApp::MeshDocument document;
    document.ResetToSample();
    return ToSceneMesh(document);
}

bool Exists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

using D3DPanelFilesTest = KelTest::PanelTest;

} // namespace

TEST_F(D3DPanelFilesTest, ThePictureIsTheFrameThePreviewShows) {
    panel->SetBackColor(0x00303030);
    panel->SetScene({}, {}, {}, {}, {}, {}, {Sample()});
    panel->EyeY = 3;
    panel->EyeZ = -5;
    const std::string path = folder.File("mesh.png");
    ASSERT_TRUE(panel->SavePicture(path));

    D3DXIMAGE_INFO info = {};
    ASSERT_EQ(D3DXGetImageInfoFromFileA(path.c_str(), &info), D3D_OK);
    EXPECT_EQ(info.ImageFileFormat, D3DXIFF_PNG);
    ASSERT_EQ(info.Width, 320u);
    ComPtr<IDirect3DSurface9> picture;
    ASSERT_EQ(panel->device->CreateOffscreenPlainSurface(320, 240, D3DFMT_X8R8G8B8,
                                                         D3DPOOL_SYSTEMMEM, &picture, nullptr),
              D3D_OK);
    ASSERT_EQ(D3DXLoadSurfaceFromFileA(picture.Get(), nullptr, nullptr, path.c_str(), nullptr,
                                       D3DX_FILTER_NONE, 0, nullptr),
              D3D_OK);
    const KelTest::FramePixels frame = KelTest::DrawFrame(*panel);
    D3DLOCKED_RECT locked = {};
    ASSERT_EQ(picture->LockRect(&locked, nullptr, D3DLOCK_READONLY), D3D_OK);
    int different = 0;
    for (int y = 0; y < frame.height; ++y) {
        const auto* row = reinterpret_cast<const std::uint32_t*>(
            static_cast<const unsigned char*>(locked.pBits) + y * locked.Pitch);
        for (int x = 0; x < frame.width; ++x)
            different += (row[x] & 0xFFFFFF) != frame.At(x, y);
    }
    picture->UnlockRect();
    EXPECT_EQ(different, 0);
    EXPECT_GT(frame.CountOtherThan(0x303030), 1000) << "the pyramid is in the picture";

    EXPECT_FALSE(panel->SavePicture(folder.File("manca\\mesh.png")));
    EXPECT_FALSE(Exists(folder.File("manca")));
}

TEST_F(D3DPanelFilesTest, D3DXLoadsTheMeshFileAsThePreviewBuildsIt) {
    SceneMesh sample = Sample();
    sample.Vertices[2].Tu = 0.75f;
    sample.Vertices[2].Color = 0x00336699;
    sample.TextureFile = "legno.png";
    std::int32_t error = -1;
    const std::string path = folder.File("piramide.x");
    ASSERT_TRUE(panel->SaveMeshToX(path, error, sample));
    EXPECT_EQ(error, 0);

    ComPtr<ID3DXMesh> mesh;
    ComPtr<ID3DXBuffer> materials;
    DWORD materialCount = 0;
    ASSERT_EQ(D3DXLoadMeshFromXA(path.c_str(), D3DXMESH_SYSTEMMEM, panel->device.Get(), nullptr,
                                 &materials, nullptr, &materialCount, &mesh),
              D3D_OK);
    ASSERT_EQ(mesh->GetNumFaces(), 4u);
    ASSERT_EQ(mesh->GetNumVertices(), 12u);
    ASSERT_EQ(mesh->GetFVF(), static_cast<DWORD>(D3DFVF_XYZ | D3DFVF_DIFFUSE | D3DFVF_TEX1));
    std::vector<DeviceVertex> written(12);
    WriteVertices(sample, written.data());
    DeviceVertex* read = nullptr;
    ASSERT_EQ(mesh->LockVertexBuffer(D3DLOCK_READONLY, reinterpret_cast<void**>(&read)), D3D_OK);
    int different = 0;
    for (int i = 0; i < 12; ++i) {
        different += read[i].x != written[i].x || read[i].y != written[i].y ||
                     read[i].z != written[i].z || read[i].color != written[i].color ||
                     read[i].tu != written[i].tu || read[i].tv != written[i].tv;
    }
    mesh->UnlockVertexBuffer();
    EXPECT_EQ(different, 0);
    ASSERT_EQ(materialCount, 1u);
    const auto* material = static_cast<const D3DXMATERIAL*>(materials->GetBufferPointer());
    EXPECT_EQ(material->MatD3D.Diffuse.r, 1.0f);
    EXPECT_EQ(material->MatD3D.Diffuse.g, 1.0f);
    EXPECT_EQ(material->MatD3D.Diffuse.b, 0.0f);
    ASSERT_NE(material->pTextureFilename, nullptr);
    EXPECT_STREQ(material->pTextureFilename, "legno.png");
}

TEST_F(D3DPanelFilesTest, AMeshFileIsWrittenWholeOrNotAtAll) {
    const std::string path = folder.File("mesh.x");
    TemporaryFolder::WriteBytes(path, "precedente");
    SceneMesh two = Sample();
    two.Vertices.resize(2);
    std::int32_t error = -1;
    EXPECT_FALSE(panel->SaveMeshToX(path, error, two));
    EXPECT_EQ(error, 1);
    EXPECT_NE(panel->LastFileError.find("servono da 3"), std::string::npos);
    SceneMesh longName = Sample();
    longName.TextureFile.assign(1024, 't');
    EXPECT_FALSE(panel->SaveMeshToX(path, error, longName));
    EXPECT_EQ(error, 2);
    SceneMesh quoted = Sample();
    quoted.TextureFile = "legno\".png";
    EXPECT_FALSE(panel->SaveMeshToX(path, error, quoted)) << "the quote would end the name";
    EXPECT_EQ(error, 2);
    EXPECT_NE(panel->LastFileError.find("virgolette"), std::string::npos);
    EXPECT_EQ(TemporaryFolder::ReadBytes(path), "precedente");
    const std::string lost = folder.File("manca\\mesh.x");
    EXPECT_FALSE(panel->SaveMeshToX(lost, error, Sample()));
    EXPECT_EQ(error, 2);
    EXPECT_EQ(panel->LastFileError, lost + ": La cartella non esiste.");
    EXPECT_EQ(folder.Entries(), std::vector<std::string>{"mesh.x"});

    // The largest mesh the preview takes, faces three by three.
    SceneMesh largest;
    largest.FaceCount = 1000;
    for (int i = 0; i < 65535; ++i)
        largest.Vertices.push_back(MeshVertex{std::cos(i * 0.001), i * 1e-4, 0, 0xFF, 0, 0});
    ASSERT_TRUE(panel->SaveMeshToX(path, error, largest));
    EXPECT_EQ(panel->LastFileError, "");
    ComPtr<ID3DXMesh> mesh;
    ASSERT_EQ(D3DXLoadMeshFromXA(path.c_str(), D3DXMESH_SYSTEMMEM | D3DXMESH_32BIT,
                                 panel->device.Get(), nullptr, nullptr, nullptr, nullptr, &mesh),
              D3D_OK);
    EXPECT_EQ(mesh->GetNumVertices(), 65535u);
    EXPECT_EQ(mesh->GetNumFaces(), 1000u);
}

TEST_F(D3DPanelFilesTest, TheViewStateComesBackFromTheDataFolder) {
    const std::string previous = CurrentDirectory();
    ASSERT_TRUE(SetCurrentDirectoryA(folder.Path().string().c_str()));
    EXPECT_TRUE(panel->LoadViewState()) << "no file yet: nothing changes";
    EXPECT_TRUE(Exists(folder.File("data")));
    EXPECT_EQ(panel->EyeZ, -10.0);

    panel->Pitch = 0.1;
    panel->Yaw = -2.5;
    panel->Roll = 3.0;
    panel->EyeX = 1.0 / 3.0;
    panel->EyeY = 4;
    panel->EyeZ = -7.25;
    ASSERT_TRUE(panel->SaveViewState());
    panel->Pitch = panel->Yaw = panel->Roll = panel->EyeX = panel->EyeY = panel->EyeZ = 0;
    ASSERT_TRUE(panel->LoadViewState());
    EXPECT_EQ(panel->Pitch, 0.1f);
    EXPECT_EQ(panel->Yaw, -2.5);
    EXPECT_EQ(panel->EyeX, 1.0f / 3.0f);
    EXPECT_EQ(panel->EyeZ, -7.25);

    // The platform's own reader takes the file with the registered template.
    ComPtr<IDirectXFile> files;
    ASSERT_EQ(DirectXFileCreate(&files), DXFILE_OK);
    ASSERT_EQ(files->RegisterTemplates(const_cast<char*>(kViewStateTemplates),
                                       std::strlen(kViewStateTemplates)),
              DXFILE_OK);
    const std::string path = folder.File("data\\file.x");
    ComPtr<IDirectXFileEnumObject> objects;
    ASSERT_EQ(
        files->CreateEnumObject(const_cast<char*>(path.c_str()), DXFILELOAD_FROMFILE, &objects),
        DXFILE_OK);
    ComPtr<IDirectXFileData> data;
    ASSERT_EQ(objects->GetNextDataObject(&data), DXFILE_OK);
    DWORD size = 0;
    void* values = nullptr;
    ASSERT_EQ(data->GetData(nullptr, &size, &values), DXFILE_OK);
    // Two string pointers, the version, then the six floats.
    const std::size_t floats = 2 * sizeof(char*) + sizeof(DWORD);
    ASSERT_EQ(size, floats + 6 * sizeof(float));
    const auto* view = reinterpret_cast<const float*>(static_cast<const char*>(values) + floats);
    EXPECT_EQ(view[1], -2.5f);
    EXPECT_EQ(view[5], -7.25f);
    data.Reset();
    objects.Reset();

    // A file far larger than any view state is not read at all.
    std::string large = "xof 0302txt 0032\nMY_GAME_INFO Dati {\"D3DPanel\";\"Kel\";1;1;1;1;1;1;1;}";
    large.resize(kMaximumViewStateFile + 1, ' ');
    TemporaryFolder::WriteBytes(path, large);
    EXPECT_FALSE(panel->LoadViewState());
    EXPECT_EQ(panel->EyeZ, -7.25);
    large.resize(kMaximumViewStateFile);
    TemporaryFolder::WriteBytes(path, large);
    EXPECT_TRUE(panel->LoadViewState());
    EXPECT_EQ(panel->EyeZ, 1.0);

    // A file that cannot take the state's place makes the save fail.
    std::filesystem::remove(path);
    std::filesystem::create_directory(path);
    EXPECT_FALSE(panel->SaveViewState());
    SetCurrentDirectoryA(previous.c_str());
}

// Names outside Latin-1 reach the platform whole, for the files the panel writes and reads
// and for its textures.
TEST_F(D3DPanelFilesTest, FilesKeepTheirNamesInAnyScript) {
    const std::wstring wideFolder =
        folder.Path().wstring() + L"\\\u043C\u043E\u0434\u0435\u043B\u0438";
    ASSERT_TRUE(CreateDirectoryW(wideFolder.c_str(), nullptr));
    const std::wstring picture = wideFolder + L"\\prezzo\u20AC_citt\u00E0.png";
    const std::wstring mesh = wideFolder + L"\\\u043C\u043E\u0434\u0435\u043B\u044C.x";

    panel->SetScene({}, {}, {}, {}, {}, {}, {Sample()});
    ASSERT_TRUE(panel->SavePicture(ToNarrow(picture))) << panel->LastFileError;
    EXPECT_EQ(panel->LastFileError, "");
    D3DXIMAGE_INFO info = {};
    EXPECT_EQ(D3DXGetImageInfoFromFileW(picture.c_str(), &info), D3D_OK);

    SceneMesh textured = Sample();
    textured.TextureFile = ToNarrow(picture);
    std::int32_t error = -1;
    ASSERT_TRUE(panel->SaveMeshToX(ToNarrow(mesh), error, textured)) << panel->LastFileError;
    ComPtr<ID3DXMesh> read;
    EXPECT_EQ(D3DXLoadMeshFromXW(mesh.c_str(), D3DXMESH_SYSTEMMEM, panel->device.Get(), nullptr,
                                 nullptr, nullptr, nullptr, &read),
              D3D_OK);
    // DirectX reads the texture's name in the system's code page.
    textured.TextureFile = "citt\xC3\xA0.png";
    ASSERT_TRUE(panel->SaveMeshToX(ToNarrow(mesh), error, textured));
    ComPtr<ID3DXBuffer> materials;
    ASSERT_EQ(D3DXLoadMeshFromXW(mesh.c_str(), D3DXMESH_SYSTEMMEM, panel->device.Get(), nullptr,
                                 &materials, nullptr, nullptr, &read),
              D3D_OK);
    if (GetACP() == 1252) {
        EXPECT_STREQ(static_cast<D3DXMATERIAL*>(materials->GetBufferPointer())->pTextureFilename,
                     "citt\xE0.png");
    }
    textured.TextureFile = ToNarrow(picture);

    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(wideFolder))
        names.push_back(ToNarrow(entry.path().filename().wstring()));
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names,
              (std::vector<std::string>{"prezzo\xE2\x82\xAC_citt\xC3\xA0.png",
                                        "\xD0\xBC\xD0\xBE\xD0\xB4\xD0\xB5\xD0\xBB\xD1\x8C.x"}));

    // The view-state file, under a current folder named in Cyrillic.
    const std::string previous = CurrentDirectory();
    ASSERT_TRUE(SetCurrentDirectoryW(wideFolder.c_str()));
    panel->EyeX = 2.5;
    const bool saved = panel->SaveViewState();
    panel->EyeX = 0;
    const bool loaded = panel->LoadViewState();
    SetCurrentDirectoryW(ToWide(previous).c_str());
    EXPECT_TRUE(saved && loaded);
    EXPECT_EQ(panel->EyeX, 2.5);
    EXPECT_NE(GetFileAttributesW((wideFolder + L"\\data\\file.x").c_str()),
              INVALID_FILE_ATTRIBUTES);

    panel->SetScene({}, {}, {}, {}, {}, {}, {textured});
    KelTest::DrawFrame(*panel);
    ASSERT_EQ(panel->textureCache.size(), 1u);
    EXPECT_TRUE(panel->textureCache[0].texture) << "the texture is read from its UTF-8 name";
}
