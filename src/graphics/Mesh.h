#pragma once

#include <memory>

#include "math/Vector.h"

#include <glm/glm.hpp>

class Texture;

// The layout of every vertex buffer: 48 bytes, tightly packed.
struct Vertex {
    float position[3] = {0.0f, 0.0f, 0.0f};
    float colour[4] = {1.0f, 1.0f, 1.0f, 1.0f};
    float normal[3] = {0.0f, 0.0f, 0.0f};
    float uv[2] = {0.0f, 0.0f};
};
static_assert(sizeof(Vertex) == 48, "Vertex must stay 48 bytes");

// Keys of the standard meshes held by the resource loader.
enum MeshType : int {
    QUAD = 0,
    GREEN_QUAD = 1,
    BLACK_QUAD = 2,
    YELLOW_QUAD = 3,
    RED_QUAD = 4,
};

enum MeshKind : int {
    MESH_TRIANGLES = 0,
    MESH_TRIANGLE_STRIP = 1,
    MESH_LINES = 2,
};

// A vertex and a 32-bit index buffer with a primitive kind; draws itself with the current program.
class Mesh {
public:
    explicit Mesh(const char* name);
    ~Mesh();
    Mesh(const Mesh&) = delete;
    Mesh& operator=(const Mesh&) = delete;

    // MVP from the three matrix stacks; a null texture leaves the bound texture alone. A mesh that
    // lies wholly outside the view is not sent to GL at all: it would not reach a pixel.
    void Draw(const Texture* texture, float alpha, const Vector3& tint) const;
    // Whether the uploaded vertices, under `mvp`, lie wholly outside one plane of the view volume.
    bool IsOutsideView(const glm::mat4& mvp) const;
    // Tells the frame's composition where this draw lands on the screen.
    void NoteCoverage(const glm::mat4& mvp) const;

    // Uploads both arrays once (GL_STATIC_DRAW) and sets kind and index count.
    void Upload(const Vertex* vertices, int vertexCount, const unsigned int* indices, int count, int meshKind);

    const char* GetName() const { return name; }
    int GetKind() const { return kind; }
    void SetKind(int meshKind) { kind = meshKind; }
    unsigned int GetVertexBuffer() const { return vertexBuffer; }
    unsigned int GetIndexBuffer() const { return indexBuffer; }
    int GetIndexCount() const { return indexCount; }
    void SetIndexCount(int count) { indexCount = count; }

private:
    const char* name = nullptr;
    int kind = MESH_TRIANGLES;
    unsigned int vertexBuffer = 0;
    unsigned int indexBuffer = 0;
    int indexCount = 0;
    // The box around the uploaded vertex positions.
    glm::vec3 boundsMin{0.0f};
    glm::vec3 boundsMax{0.0f};
    bool hasBounds = false;
};

std::unique_ptr<Mesh> CreateQuad(const char* name, const glm::vec4& colour, float size, float uLeft, float uRight,
                                 float vTop, float vBottom);
std::unique_ptr<Mesh> CreateGrid(const char* name, const glm::vec4& colour, int count, float spacing);
std::unique_ptr<Mesh> CreateAxes(const char* name, float length);
