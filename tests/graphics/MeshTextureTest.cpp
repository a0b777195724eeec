#include <GL/glew.h>
#include <gtest/gtest.h>

#include <memory>

#include "GraphicsTestUtil.h"
#include "graphics/MatrixStack.h"
#include "graphics/Mesh.h"
#include "graphics/Renderer.h"
#include "graphics/ShaderManager.h"
#include "graphics/Texture.h"
#include "resources/ResourceLoader.h"
#include "scene/GameObject.h"
#include "support/TestGame.h"

namespace {

std::vector<Vertex> ReadVertices(const Mesh& mesh, int count) {
    std::vector<Vertex> vertices(static_cast<size_t>(count));
    glBindBuffer(GL_ARRAY_BUFFER, mesh.GetVertexBuffer());
    glGetBufferSubData(GL_ARRAY_BUFFER, 0, static_cast<GLsizeiptr>(count * sizeof(Vertex)), vertices.data());
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    return vertices;
}

std::vector<unsigned int> ReadIndices(const Mesh& mesh) {
    std::vector<unsigned int> indices(static_cast<size_t>(mesh.GetIndexCount()));
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, mesh.GetIndexBuffer());
    glGetBufferSubData(GL_ELEMENT_ARRAY_BUFFER, 0, static_cast<GLsizeiptr>(indices.size() * sizeof(unsigned int)),
                       indices.data());
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
    return indices;
}

class MeshTextureTest : public ::testing::Test {
protected:
    void SetUp() override { StartGraphicsTest(); }
};

TEST_F(MeshTextureTest, QuadHasItsUvInStripOrderAndCentredCorners) {
    std::unique_ptr<Mesh> quad(CreateQuad("Quad", glm::vec4(1.0f), 1.0f, 0.0f, 1.0f, 0.0f, 1.0f));
    EXPECT_STREQ(quad->GetName(), "Quad");
    EXPECT_EQ(quad->GetKind(), MESH_TRIANGLE_STRIP);
    EXPECT_EQ(quad->GetIndexCount(), 4);
    const std::vector<Vertex> v = ReadVertices(*quad, 4);
    const float uv[4][2] = {{0, 1}, {0, 0}, {1, 1}, {1, 0}};
    const float xy[4][2] = {{-0.5f, -0.5f}, {-0.5f, 0.5f}, {0.5f, -0.5f}, {0.5f, 0.5f}};
    for (int i = 0; i < 4; ++i) {
        EXPECT_FLOAT_EQ(v[i].uv[0], uv[i][0]) << i;
        EXPECT_FLOAT_EQ(v[i].uv[1], uv[i][1]) << i;
        EXPECT_FLOAT_EQ(v[i].position[0], xy[i][0]) << i;
        EXPECT_FLOAT_EQ(v[i].position[1], xy[i][1]) << i;
        EXPECT_FLOAT_EQ(v[i].normal[2], 1.0f);
    }
    EXPECT_EQ(ReadIndices(*quad), (std::vector<unsigned int>{0, 1, 2, 3}));
}

TEST_F(MeshTextureTest, SpriteSheetFrameSelectsItsCell) {
    std::unique_ptr<Mesh> frame(CreateQuad("AnimFrame", glm::vec4(1.0f), 1.0f, 2.0f / 4.0f, 3.0f / 4.0f, 0.0f, 1.0f));
    const std::vector<Vertex> v = ReadVertices(*frame, 4);
    EXPECT_FLOAT_EQ(v[0].uv[0], 0.5f);
    EXPECT_FLOAT_EQ(v[1].uv[0], 0.5f);
    EXPECT_FLOAT_EQ(v[2].uv[0], 0.75f);
    EXPECT_FLOAT_EQ(v[3].uv[0], 0.75f);
}

TEST_F(MeshTextureTest, GridAndAxesAreLineLists) {
    std::unique_ptr<Mesh> grid(CreateGrid("Grid Lines", glm::vec4(1.0f), 10, 1.0f));
    EXPECT_EQ(grid->GetKind(), MESH_LINES);
    EXPECT_EQ(grid->GetIndexCount(), 40);
    const std::vector<Vertex> g = ReadVertices(*grid, 40);
    EXPECT_FLOAT_EQ(g[3].position[0], 1.0f);  // the second vertical line's top
    EXPECT_FLOAT_EQ(g[3].position[1], 10.0f);
    EXPECT_FLOAT_EQ(g[22].position[1], 1.0f);  // the second horizontal line
    EXPECT_FLOAT_EQ(g[23].position[0], 10.0f);

    std::unique_ptr<Mesh> axes(CreateAxes("Axis", 5.0f));
    EXPECT_EQ(axes->GetKind(), MESH_LINES);
    const std::vector<Vertex> a = ReadVertices(*axes, 6);
    EXPECT_FLOAT_EQ(a[1].position[0], 5.0f);
    EXPECT_FLOAT_EQ(a[3].position[1], 5.0f);
    EXPECT_FLOAT_EQ(a[5].position[2], 5.0f);
    EXPECT_FLOAT_EQ(a[4].colour[2], 1.0f);
    EXPECT_FLOAT_EQ(a[4].colour[0], 0.0f);
}

TEST_F(MeshTextureTest, DrawWithoutTextureLeavesTheBoundTextureAlone) {
    std::unique_ptr<Mesh> quad(CreateQuad("Quad", glm::vec4(1.0f), 1.0f, 0.0f, 1.0f, 0.0f, 1.0f));
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    BeginWindowDraw();
    glBindTexture(GL_TEXTURE_2D, texture);
    quad->Draw(nullptr, 1.0f, Vector3(1.0f, 1.0f, 1.0f));
    GLint bound = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(static_cast<GLuint>(bound), texture);
    const GLuint program = static_cast<GLuint>(GetShaderManager().GetCurrent()->program);
    GLint enabled = -1;
    glGetUniformiv(program, glGetUniformLocation(program, "textureEnabled"), &enabled);
    EXPECT_EQ(enabled, 0);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    glDeleteTextures(1, &texture);
}

TEST_F(MeshTextureTest, VertexAlphaNeverReachesThePicture) {
    // A quad whose vertices say alpha 0 still covers the screen fully; only meshAlpha fades it.
    std::unique_ptr<Mesh> quad(CreateQuad("Clear", glm::vec4(1.0f, 0.0f, 0.0f, 0.0f), 2.0f, 0.0f, 1.0f, 0.0f, 1.0f));
    BeginWindowDraw(0.0f, 0.0f, 0.0f);
    GetModelStack().Push();
    GetModelStack().Scale(10.0f, 10.0f, 1.0f);
    quad->Draw(nullptr, 1.0f, Vector3(1.0f, 1.0f, 1.0f));
    EXPECT_EQ(ReadPixel(128, 90), Vector3(255, 0, 0));
    glDisable(GL_DEPTH_TEST);
    quad->Draw(nullptr, 0.0f, Vector3(0.0f, 1.0f, 0.0f));  // fully transparent: discarded
    EXPECT_EQ(ReadPixel(128, 90), Vector3(255, 0, 0));
    // Half alpha: the quad's red vertex colour times a black tint, blended half over red.
    quad->Draw(nullptr, 0.5f, Vector3(0.0f, 0.0f, 0.0f));
    const Vector3 mixed = ReadPixel(128, 90);
    EXPECT_NEAR(mixed.x, 128.0f, 2.0f);
    EXPECT_NEAR(mixed.y, 0.0f, 1.0f);
    glEnable(GL_DEPTH_TEST);
    GetModelStack().Pop();
}

TEST_F(MeshTextureTest, TransparentFragmentsWriteNoDepth) {
    std::unique_ptr<Mesh> quad(CreateQuad("Quad", glm::vec4(1.0f), 20.0f, 0.0f, 1.0f, 0.0f, 1.0f));
    BeginWindowDraw(0.0f, 0.0f, 0.0f);
    GetModelStack().Push();
    GetModelStack().Translate(0.0f, 0.0f, 50.0f);
    quad->Draw(nullptr, 0.0f, Vector3(1.0f, 1.0f, 1.0f));  // near, invisible
    GetModelStack().Pop();
    quad->Draw(nullptr, 1.0f, Vector3(0.0f, 1.0f, 0.0f));  // farther, opaque
    EXPECT_EQ(ReadPixel(128, 90), Vector3(0, 255, 0));
}

TEST_F(MeshTextureTest, TextureLoadReportsSizeOrTheLibrarysReason) {
    const std::string dir = MakeTempDir("texture");
    const std::string good = dir + "/solid.png";
    WriteSolidPng(good, 12, 7, 10, 200, 30, 255);
    Texture texture(good.c_str());
    testing::internal::CaptureStdout();
    EXPECT_NE(texture.Load(good.c_str(), 0, 0), 0u);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Texture Loaded: " + good + "\n");
    EXPECT_FLOAT_EQ(texture.GetSize().x, 12.0f);
    EXPECT_FLOAT_EQ(texture.GetSize().y, 7.0f);
    texture.SetFilter(GL_NEAREST);
    GLint filter = 0;
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &filter);
    EXPECT_EQ(filter, GL_NEAREST);

    const std::string bad = dir + "/garbage.png";
    WriteFile(bad, "not a picture at all");
    Texture broken(bad.c_str());
    testing::internal::CaptureStdout();
    EXPECT_EQ(broken.Load(bad.c_str(), 0, 0), 0u);
    const std::string output = testing::internal::GetCapturedStdout();
    EXPECT_EQ(output.rfind("Texture Load Error: '", 0), 0u) << output;
    EXPECT_GT(output.size(), std::string("Texture Load Error: ''\n").size());
    EXPECT_EQ(broken.GetId(), 0u);
    EXPECT_FLOAT_EQ(broken.GetSize().x, 0.0f);
    broken.SetFilter(GL_NEAREST);  // nothing to set on a failed texture
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));

    EXPECT_THROW(texture.Load(good.c_str(), 7, 0), std::invalid_argument);
}

TEST_F(MeshTextureTest, ResourceLoaderHoldsTheStandardQuadsAndPixelArtFilters) {
    ASSERT_TRUE(HasGeneratedTextures()) << "the generated textures are not in the data directory";
    LoadGraphicsResources();
    ResourceLoader& resources = GetResources();
    const char* names[] = {"Quad", "Green Quad", "Black Quad", "Yellow Quad", "Red Quad"};
    for (int type = QUAD; type <= RED_QUAD; ++type) {
        const Mesh* mesh = resources.LookupMesh(static_cast<MeshType>(type));
        ASSERT_NE(mesh, nullptr);
        EXPECT_STREQ(mesh->GetName(), names[type]);
    }
    const std::vector<Vertex> green = ReadVertices(*resources.LookupMesh(GREEN_QUAD), 4);
    EXPECT_FLOAT_EQ(green[0].colour[1], 0.8f);
    EXPECT_FLOAT_EQ(green[0].colour[0], 0.0f);

    auto magFilter = [](const Texture* texture) {
        glBindTexture(GL_TEXTURE_2D, texture->GetId());
        GLint filter = 0;
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &filter);
        return filter;
    };
    EXPECT_EQ(magFilter(resources.LookupTexture(TextureId::ForestTileset)), GL_NEAREST);
    EXPECT_EQ(magFilter(resources.LookupTexture(TextureId::LirraIdle)), GL_NEAREST);
    EXPECT_EQ(magFilter(resources.LookupTexture(TextureId::KeyUp)), GL_NEAREST);
    EXPECT_EQ(magFilter(resources.LookupTexture(TextureId::ForestBackground)), GL_LINEAR);
    EXPECT_EQ(magFilter(resources.LookupTexture(TextureId::DefaultParticle)), GL_LINEAR);

    GameObject object;
    Renderer* renderer = object.AddComponent<Renderer>();
    renderer->SetMesh(QUAD);
    EXPECT_EQ(renderer->GetMesh(), resources.LookupMesh(QUAD));
    renderer->SetMesh(RED_QUAD);
    EXPECT_EQ(renderer->GetMesh(), resources.LookupMesh(RED_QUAD));
    renderer->SetTexture(TextureId::Portal);
    EXPECT_EQ(renderer->GetTexture(), resources.LookupTexture(TextureId::Portal));

    testing::internal::CaptureStdout();
    EXPECT_EQ(resources.LookupTexture(TextureId::Count), nullptr);
    EXPECT_EQ(resources.LookupMesh(static_cast<MeshType>(kMeshCount)), nullptr);
    EXPECT_EQ(resources.LookupTexture(TextureId::Count), nullptr);
    const std::string output = testing::internal::GetCapturedStdout();
    EXPECT_EQ(CountOf(output, "texture id 63"), 1) << output;
    EXPECT_EQ(CountOf(output, "mesh id 5"), 1) << output;
}

}  // namespace
