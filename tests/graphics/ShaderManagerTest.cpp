#include <GL/glew.h>
#include <gtest/gtest.h>

#include "GraphicsTestUtil.h"
#include "graphics/ShaderManager.h"
#include "math/Vector.h"
#include "support/TestGame.h"

namespace {

class ShaderManagerTest : public ::testing::Test {
protected:
    void SetUp() override { StartGraphicsTest(); }

    std::string Capture(const std::function<void()>& action) {
        testing::internal::CaptureStdout();
        action();
        return testing::internal::GetCapturedStdout();
    }
};

TEST_F(ShaderManagerTest, StartUpLoadsTheFourProgramsAndTheyLink) {
    ShaderManager& shaders = GetShaderManager();
    for (const char* name : {"Shader/ref", "Shader/default", "Shader/blur", "Shader/bloom"}) {
        const ShaderProgram* program = shaders.Find(name);
        ASSERT_NE(program, nullptr) << name;
        EXPECT_TRUE(program->linked) << name;
        EXPECT_GT(program->program, 0) << name;
    }
}

TEST_F(ShaderManagerTest, SecondLoadOfANameIsReportedAndKeepsTheFirstRecord) {
    ShaderManager& shaders = GetShaderManager();
    const size_t before = shaders.CountPrograms();
    const int firstProgram = shaders.Find("Shader/default")->program;
    const std::string output = Capture([&] { shaders.Load("Shader/default"); });
    EXPECT_EQ(output, "Shader already loaded!\n");
    EXPECT_EQ(shaders.CountPrograms(), before);
    EXPECT_EQ(shaders.Find("Shader/default")->program, firstProgram);
}

TEST_F(ShaderManagerTest, UseOfAnUnknownNameKeepsTheCurrentProgramBound) {
    ShaderManager& shaders = GetShaderManager();
    shaders.Use("Shader/blur");
    const ShaderProgram* before = shaders.GetCurrent();
    const std::string output = Capture([&] { shaders.Use("Shader/never"); });
    EXPECT_EQ(output, "Shader not loaded!\n");
    EXPECT_EQ(shaders.GetCurrent(), before);
    GLint bound = 0;
    glGetIntegerv(GL_CURRENT_PROGRAM, &bound);
    EXPECT_EQ(bound, before->program);
}

TEST_F(ShaderManagerTest, MissingVertexFileNamesTheFullPathAndRegistersNothing) {
    ShaderManager& shaders = GetShaderManager();
    const std::string name = MakeTempDir("shader") + "/absent";
    const size_t before = shaders.CountPrograms();
    const std::string output = Capture([&] { shaders.Load(name); });
    EXPECT_EQ(output, "Impossible to open " + name + ".vertexshader. Are you in the right directory?\n");
    EXPECT_EQ(shaders.CountPrograms(), before);
    EXPECT_EQ(Capture([&] { shaders.Use(name); }), "Shader not loaded!\n");
}

TEST_F(ShaderManagerTest, MissingFragmentFileGivesOneFragmentErrorAndStillRegisters) {
    ShaderManager& shaders = GetShaderManager();
    const std::string name = MakeTempDir("shader") + "/vertexonly";
    WriteFile(name + ".vertexshader", ReadFile("Shader/blur.vertexshader"));
    const std::string output = Capture([&] { shaders.Load(name); });
    EXPECT_EQ(CountOf(output, "Compiling shader: "), 2);
    EXPECT_EQ(CountOf(output, "Compiling shader: " + name + ".vertexshader\n"), 1);
    EXPECT_EQ(CountOf(output, "Compiling shader: " + name + ".fragmentshader\n"), 1);
    EXPECT_EQ(CountOf(output, "ERROR::SHADER_COMPILATION_ERROR of type: FRAGMENT\n"), 1);
    EXPECT_EQ(CountOf(output, "ERROR::SHADER_COMPILATION_ERROR of type: VERTEX"), 0);
    EXPECT_EQ(CountOf(output, "\n -- --------------------------------------------------- -- \n"),
              1 + CountOf(output, "PROGRAM_LINKING_ERROR"));
    ASSERT_NE(shaders.Find(name), nullptr);
    EXPECT_FALSE(shaders.Find(name)->linked);

    // Setting uniforms on the broken program is quiet and raises no GL error.
    shaders.Use(name);
    while (glGetError() != GL_NO_ERROR) {
    }
    EXPECT_EQ(Capture([&] { shaders.SetFloat("exposure", 1.0f); }), "");
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    shaders.Use("Shader/default");
}

TEST_F(ShaderManagerTest, UniformTheProgramDoesNotDeclareIsIgnored) {
    ShaderManager& shaders = GetShaderManager();
    shaders.Use("Shader/default");
    const std::string output = Capture([&] {
        shaders.SetFloat("noSuchUniform", 2.0f);
        shaders.SetVec3("noSuchVector", Vector3(1.0f, 2.0f, 3.0f));
        shaders.SetMat4("noSuchMatrix", glm::mat4(1.0f));
    });
    EXPECT_EQ(output, "");
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(ShaderManagerTest, SettersReachTheCurrentProgram) {
    ShaderManager& shaders = GetShaderManager();
    shaders.Use("Shader/bloom");
    shaders.SetFloat("gamma", 1.25f);
    const GLuint program = static_cast<GLuint>(shaders.GetCurrent()->program);
    float value = 0.0f;
    glGetUniformfv(program, glGetUniformLocation(program, "gamma"), &value);
    EXPECT_FLOAT_EQ(value, 1.25f);
    GLint unit = -1;
    glGetUniformiv(program, glGetUniformLocation(program, "bloomBlur"), &unit);
    EXPECT_EQ(unit, 1);
    shaders.Use("Shader/default");
}

}  // namespace
