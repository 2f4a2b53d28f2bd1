#include "viewport/scene_records.h"

#include <gtest/gtest.h>

using namespace KelUtility;

namespace {

SceneMesh SampleMesh() {
    MyApp::MeshDocument document;
    document.ResetToSample();
    return ToSceneMesh(document);
}

} // namespace

TEST(SceneRecords, TheDocumentBecomesTheShownMesh) {
    MyApp::MeshDocument empty;
    const SceneMesh none = ToSceneMesh(empty);
    EXPECT_TRUE(none.Vertices.empty());
    EXPECT_TRUE(none.Indices.empty());
    EXPECT_EQ(none.FaceCount, 0);
    EXPECT_EQ(none.TextureFile, "");
    EXPECT_TRUE(none.Visible);
    EXPECT_EQ(none.Tag, 2002);

    MyApp::MeshDocument sample;
    sample.ResetToSample();
    sample.TextureFile = "legno.bmp";
    const SceneMesh pyramid = ToSceneMesh(sample);
    EXPECT_EQ(pyramid.Vertices, sample.Vertices);
    EXPECT_TRUE(pyramid.Indices.empty());
    EXPECT_EQ(pyramid.FaceCount, 4);
    EXPECT_EQ(pyramid.TextureFile, "legno.bmp");
    EXPECT_EQ(pyramid.Id, 1);
}

TEST(SceneRecords, MergingCopiesOnlyWhatDiffers) {
    SceneMesh shown = SampleMesh();
    SceneMesh latest = SampleMesh();
    EXPECT_FALSE(MergeSceneMesh(shown, latest));

    latest.Vertices[5].Color = 0xFF;
    latest.Id = 9;
    latest.X = 3;
    EXPECT_TRUE(MergeSceneMesh(shown, latest));
    EXPECT_EQ(shown.Vertices[5].Color, 0xFFu);
    EXPECT_EQ(shown.Id, 1); // never compared nor copied
    EXPECT_EQ(shown.X, 0);
    EXPECT_FALSE(MergeSceneMesh(shown, latest));

    latest.Vertices[0].Y = 7;
    latest.Indices = {0, 1, 2};
    latest.FaceCount = 1;
    latest.Visible = false;
    latest.TextureFile = "pietra.png";
    EXPECT_TRUE(MergeSceneMesh(shown, latest));
    EXPECT_EQ(shown.Vertices, latest.Vertices);
    EXPECT_EQ(shown.Indices, latest.Indices);
    EXPECT_EQ(shown.FaceCount, 1);
    EXPECT_FALSE(shown.Visible);
    EXPECT_EQ(shown.TextureFile, "pietra.png");

    latest.Vertices.pop_back();
    latest.Indices[2] = 4;
    EXPECT_TRUE(MergeSceneMesh(shown, latest));
    EXPECT_EQ(shown.Vertices.size(), 11u);
    EXPECT_EQ(shown.Indices[2], 4);
}
