#include "graphics/ShaderManager.h"

#include <GL/glew.h>

#include <fstream>
#include <sstream>

#include "base/Log.h"
#include "math/Vector.h"

namespace {

constexpr int kInfoLogSize = 1024;

bool ReadWholeFile(const std::string& path, std::string* text) {
    std::ifstream file(path);
    if (!file.is_open()) {
        return false;
    }
    std::stringstream content;
    content << file.rdbuf();
    *text = content.str();
    return true;
}

// Returns whether the stage compiled or the program linked.
bool CheckErrors(unsigned int id, const std::string& type) {
    int success = 0;
    char log[kInfoLogSize] = {};
    if (type != "PROGRAM") {
        glGetShaderiv(id, GL_COMPILE_STATUS, &success);
        if (success == 0) {
            glGetShaderInfoLog(id, kInfoLogSize, nullptr, log);
            Log("ERROR::SHADER_COMPILATION_ERROR of type: %s\n%s\n -- "
                "--------------------------------------------------- -- \n",
                type.c_str(), log);
        }
        return success != 0;
    }
    glGetProgramiv(id, GL_LINK_STATUS, &success);
    if (success == 0) {
        glGetProgramInfoLog(id, kInfoLogSize, nullptr, log);
        Log("ERROR::PROGRAM_LINKING_ERROR of type: %s\n%s\n -- --------------------------------------------------- -- "
            "\n",
            type.c_str(), log);
    }
    return success != 0;
}

void CompileStage(unsigned int shader, const std::string& path, const std::string& source, const char* type) {
    Log("Compiling shader: %s\n", path.c_str());
    const char* text = source.c_str();
    glShaderSource(shader, 1, &text, nullptr);
    glCompileShader(shader);
    CheckErrors(shader, type);
}

// The defines go after the first line, which holds the #version directive.
void AddDefines(std::string_view defines, std::string* source) {
    if (defines.empty()) {
        return;
    }
    const size_t lineEnd = source->find('\n');
    const size_t at = lineEnd == std::string::npos ? source->size() : lineEnd + 1;
    source->insert(at, std::string(defines) + "\n");
}

}  // namespace

int ShaderProgram::Location(std::string_view uniform) const {
    if (!linked) {
        return -1;
    }
    const auto found = locations.find(uniform);
    if (found != locations.end()) {
        return found->second;
    }
    const std::string key(uniform);
    const int location = glGetUniformLocation(static_cast<GLuint>(program), key.c_str());
    locations.emplace(key, location);
    return location;
}

ShaderManager::~ShaderManager() {
    // The context is usually gone at process exit; GL then ignores these calls.
    for (auto& [name, record] : programs) {
        if (record.program <= 0) {
            continue;
        }
        glDetachShader(record.program, record.vertexShader);
        glDetachShader(record.program, record.fragmentShader);
        glDeleteShader(record.vertexShader);
        glDeleteShader(record.fragmentShader);
    }
}

void ShaderManager::Load(const std::string& name) {
    LoadVariant(name, name, "");
}

void ShaderManager::LoadVariant(const std::string& name, const std::string& sources, std::string_view defines) {
    if (programs.count(name) != 0) {
        Log("Shader already loaded!\n");
        return;
    }
    const std::string vertexPath = sources + ".vertexshader";
    const std::string fragmentPath = sources + ".fragmentshader";

    std::string vertexSource;
    if (!ReadWholeFile(vertexPath, &vertexSource)) {
        Log("Impossible to open %s. Are you in the right directory?\n", vertexPath.c_str());
        return;
    }
    // A missing fragment file compiles as empty source, which reports itself below.
    std::string fragmentSource;
    ReadWholeFile(fragmentPath, &fragmentSource);
    AddDefines(defines, &fragmentSource);

    const unsigned int vertexShader = glCreateShader(GL_VERTEX_SHADER);
    const unsigned int fragmentShader = glCreateShader(GL_FRAGMENT_SHADER);
    CompileStage(vertexShader, vertexPath, vertexSource, "VERTEX");
    CompileStage(fragmentShader, fragmentPath, fragmentSource, "FRAGMENT");

    const unsigned int program = glCreateProgram();
    glAttachShader(program, vertexShader);
    glAttachShader(program, fragmentShader);
    glLinkProgram(program);
    const bool linked = CheckErrors(program, "PROGRAM");
    glDeleteShader(vertexShader);
    glDeleteShader(fragmentShader);

    ShaderProgram& record = programs[name];
    record.name = name;
    record.vertexShader = vertexShader;
    record.fragmentShader = fragmentShader;
    record.program = static_cast<int>(program);
    record.linked = linked;
}

void ShaderManager::Use(const std::string& name) {
    const auto found = programs.find(name);
    if (found == programs.end()) {
        Log("Shader not loaded!\n");
        return;
    }
    current = &found->second;
    glUseProgram(static_cast<GLuint>(current->program));
}

const ShaderProgram* ShaderManager::Find(const std::string& name) const {
    const auto found = programs.find(name);
    return found == programs.end() ? nullptr : &found->second;
}

int ShaderManager::CurrentLocation(std::string_view uniform) const {
    return current == nullptr ? -1 : current->Location(uniform);
}

bool ShaderManager::CanSet() const {
    // A program that failed to link takes no uniforms; GL would report every attempt.
    return current != nullptr && current->linked;
}

void ShaderManager::SetBool(std::string_view uniform, bool value) const {
    if (!CanSet()) {
        return;
    }
    glUniform1i(CurrentLocation(uniform), value ? 1 : 0);
}

void ShaderManager::SetInt(std::string_view uniform, int value) const {
    if (!CanSet()) {
        return;
    }
    glUniform1i(CurrentLocation(uniform), value);
}

void ShaderManager::SetFloat(std::string_view uniform, float value) const {
    if (!CanSet()) {
        return;
    }
    glUniform1f(CurrentLocation(uniform), value);
}

void ShaderManager::SetVec3(std::string_view uniform, const Vector3& value) const {
    if (!CanSet()) {
        return;
    }
    glUniform3f(CurrentLocation(uniform), value.x, value.y, value.z);
}

void ShaderManager::SetMat4(std::string_view uniform, const glm::mat4& value) const {
    if (!CanSet()) {
        return;
    }
    glUniformMatrix4fv(CurrentLocation(uniform), 1, GL_FALSE, &value[0][0]);
}

ShaderManager& GetShaderManager() {
    static ShaderManager manager;
    return manager;
}
