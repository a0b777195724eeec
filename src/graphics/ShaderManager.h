#pragma once

#include <map>
#include <string>
#include <string_view>

#include <glm/glm.hpp>

struct Vector3;

// One linked program of the registry.
struct ShaderProgram {
    std::string name;
    unsigned int vertexShader = 0;
    unsigned int fragmentShader = 0;
    int program = -1;
    bool linked = false;
    // Uniform locations, looked up once per name: sprites set a handful of uniforms per draw.
    mutable std::map<std::string, int, std::less<>> locations;

    int Location(std::string_view uniform) const;
};

// The process-wide registry of GLSL programs, keyed by name; every setter acts on the current one.
class ShaderManager {
public:
    ShaderManager() = default;
    ~ShaderManager();
    ShaderManager(const ShaderManager&) = delete;
    ShaderManager& operator=(const ShaderManager&) = delete;

    // Builds the program from `name`.vertexshader and `name`.fragmentshader; does not change the current one.
    void Load(const std::string& name);
    // Builds the program `name` from the files of `sources`, with `defines` (preprocessor lines)
    // put before the fragment stage's code.
    void LoadVariant(const std::string& name, const std::string& sources, std::string_view defines);
    void Use(const std::string& name);

    void SetBool(std::string_view uniform, bool value) const;
    void SetInt(std::string_view uniform, int value) const;
    void SetFloat(std::string_view uniform, float value) const;
    void SetVec3(std::string_view uniform, const Vector3& value) const;
    void SetMat4(std::string_view uniform, const glm::mat4& value) const;

    const ShaderProgram* GetCurrent() const { return current; }
    const ShaderProgram* Find(const std::string& name) const;
    size_t CountPrograms() const { return programs.size(); }

private:
    int CurrentLocation(std::string_view uniform) const;
    bool CanSet() const;

    ShaderProgram* current = nullptr;
    std::map<std::string, ShaderProgram> programs;
};

ShaderManager& GetShaderManager();
