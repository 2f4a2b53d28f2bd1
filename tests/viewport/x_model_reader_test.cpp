// .x models read through D3DX: the preview's own mesh files read back corner for corner,
// files D3DX refuses, and models written by other programs, weighed against assimp.

#include "viewport/x_model_reader.h"

#include "toolkit/form.h"
#include "viewport/d3d_panel.h"

#include "tests/support/panel_test.h"
#include "tests/support/temporary_folder.h"

#include <gtest/gtest.h>
#include <memory>

using namespace KelUtility;

namespace {

using XModelReaderTest = KelTest::PanelTest;

// A square of two triangles with a colour and texture coordinates at every corner, and a
// third triangle beyond FaceCount that the file must not carry.
SceneMesh ColouredSquare(const std::string& texture) {
    SceneMesh square;
    square.Vertices = {{-1.5, -2, 0.25, 0x00336699, 0, 1},
                       {1.5, -2, 0.25, 0x00FF0000, 1, 1},
                       {1.5, 2, -0.75, 0x0000FF00, 1, 0},
                       {-1.5, 2, -0.75, 0x00000080, 0.125f, 0.5f}};
    square.Indices = {0, 1, 2, 0, 2, 3, 1, 2, 3};
    square.FaceCount = 2;
    square.TextureFile = texture;
    return square;
}

} // namespace

TEST_F(XModelReaderTest, TheMeshFileReadsBackCornerForCorner) {
    // The texture name in the system's code page, in plain ASCII, and in UTF-8 where the
    // code page cannot spell it.
    for (const std::string texture : {"legno.png", "citt\xC3\xA0.png", "\xE6\x9C\xA8.png"}) {
        SCOPED_TRACE(texture);
        const SceneMesh square = ColouredSquare(texture);
        const std::string path = folder.File("quadrato.x");
        std::int32_t error = -1;
        ASSERT_TRUE(panel->SaveMeshToX(path, error, square)) << panel->LastFileError;

        MyApp::ModelTriangles model;
        std::string message;
        ASSERT_TRUE(panel->ReadXModel(path, model, message)) << message;
        ASSERT_EQ(model.corners.size(), 6u);
        for (std::size_t i = 0; i < 6; ++i) {
            const MyApp::MeshVertex& written = square.Vertices[square.Indices[i]];
            const MyApp::ModelCorner& read = model.corners[i];
            EXPECT_EQ(read.X, written.X) << i;
            EXPECT_EQ(read.Y, written.Y) << i;
            EXPECT_EQ(read.Z, written.Z) << i;
            EXPECT_EQ(read.Color, written.Color) << i;
            EXPECT_EQ(read.Tu, written.Tu) << i;
            EXPECT_EQ(read.Tv, written.Tv) << i;
        }
        EXPECT_EQ(model.textureFile, folder.Path().string() + "\\" + texture);
    }
}

TEST_F(XModelReaderTest, AFileD3DXCannotReadIsRefusedAndChangesNothing) {
    const std::string broken = folder.File("rotto.x");
    TemporaryFolder::WriteBytes(broken, "xof 0303txt 0032\nMesh {\n 3;\n 0.0;0.0;");
    const std::string notX = folder.File("testo.x");
    TemporaryFolder::WriteBytes(notX, "questo non \xC3\xA8 un modello\n");

    MyApp::ModelTriangles model;
    model.corners.resize(3);
    model.textureFile = "prima.png";
    for (const std::string& path : {broken, notX, folder.File("manca.x"), folder.Path().string()}) {
        SCOPED_TRACE(path);
        std::string message;
        EXPECT_FALSE(panel->ReadXModel(path, model, message));
        EXPECT_NE(message.find("file .x"), std::string::npos) << message;
        // The reason in Italian first; D3DX's code, if any, on a line of its own.
        EXPECT_EQ(message.substr(0, message.find('\n')).find("0x"), std::string::npos) << message;
        if (path == notX) {
            EXPECT_EQ(message, "Il file .x non \xC3\xA8 valido o non si pu\xC3\xB2 leggere: non "
                               "comincia come un file .x.\nCodice di errore di D3DX: 0x8876035D.");
        }
        EXPECT_EQ(model.corners.size(), 3u);
        EXPECT_EQ(model.textureFile, "prima.png");
    }

    D3DPanel idle(host);
    std::string message;
    EXPECT_FALSE(idle.ReadXModel(broken, model, message));
    EXPECT_NE(message.find("Direct3D"), std::string::npos) << message;
}

// Triangle counts from `assimp info` (assimp 5.2, after its triangulation) on the models
// of Debian's assimp-testmodels; D3DX joins a file's meshes into one (BCN_Epileptic has
// three). Two are refused with a message, 0 below: test.x, Maya's text that the corpus's
// own notes say D3DX does not read, and anim_test.x, whose skin names four bones of which
// its frames hold two, which Wine's D3DX does not read (assimp: 840 triangles).
TEST_F(XModelReaderTest, ModelsOfOtherProgramsHaveTheTrianglesAssimpReads) {
    const std::string corpus = "Z:\\usr\\share\\assimp\\models\\X\\";
    const struct {
        const char* file;
        std::size_t triangles;
    } models[] = {
        {"test_cube_text.x", 12},
        {"test_cube_binary.x", 12},
        {"test_cube_compressed.x", 12},
        {"kwxport_test_cubewithvcolors.x", 12},
        {"test.x", 0},
        {"anim_test.x", 0},
        {"fromtruespace_bin32.x", 6656},
        {"BCN_Epileptic.X", 5126},
        {"Testwuson.X", 3732},
    };
    for (const auto& row : models) {
        SCOPED_TRACE(row.file);
        MyApp::ModelTriangles model;
        std::string message;
        const bool read = panel->ReadXModel(corpus + row.file, model, message);
        EXPECT_EQ(read, row.triangles > 0) << message;
        EXPECT_EQ(model.corners.size(), row.triangles * 3);
        EXPECT_EQ(message.empty(), read) << message;
    }

    // Colours come from the vertices where the file gives them, from the material where it
    // does not (grey 0.639216 here); a texture named by a path of the author's machine is
    // the picture of that name beside the model.
    MyApp::ModelTriangles grey;
    std::string message;
    ASSERT_TRUE(panel->ReadXModel(corpus + "test_cube_text.x", grey, message)) << message;
    for (const MyApp::ModelCorner& corner : grey.corners)
        EXPECT_EQ(corner.Color, 0x00A3A3A3u);
    MyApp::ModelTriangles coloured;
    ASSERT_TRUE(panel->ReadXModel(corpus + "kwxport_test_cubewithvcolors.x", coloured, message));
    EXPECT_EQ(coloured.corners.front().Color, 0x000000FFu) << "red, vertex 0 of the file";
    EXPECT_EQ(coloured.textureFile, corpus + "bottom.tga");
}
