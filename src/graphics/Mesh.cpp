#include "graphics/Mesh.h"

#include <GL/glew.h>

#include <cstddef>
#include <vector>

#include "graphics/MatrixStack.h"
#include "graphics/PostProcess.h"
#include "graphics/ShaderManager.h"
#include "graphics/Texture.h"

namespace {

constexpr int kAttributeCount = 4;
// How far outside a plane, in clip units, every corner must lie before a mesh is left out. A pixel
// is only drawn when its centre, half a pixel inside the edge (about 1e-3 here), is covered.
constexpr float kCullMargin = 1e-4f;

Vertex MakeVertex(float x, float y, float z, const glm::vec4& colour, float u, float v) {
    Vertex vertex;
    vertex.position[0] = x;
    vertex.position[1] = y;
    vertex.position[2] = z;
    vertex.colour[0] = colour.r;
    vertex.colour[1] = colour.g;
    vertex.colour[2] = colour.b;
    vertex.colour[3] = colour.a;
    vertex.normal[2] = 1.0f;
    vertex.uv[0] = u;
    vertex.uv[1] = v;
    return vertex;
}

GLenum PrimitiveOf(int kind) {
    switch (kind) {
    case MESH_LINES:
        return GL_LINES;
    case MESH_TRIANGLE_STRIP:
        return GL_TRIANGLE_STRIP;
    default:
        return GL_TRIANGLES;
    }
}

void SetVertexLayout() {
    const GLsizei stride = sizeof(Vertex);
    // The colour is read as RGB: only meshAlpha decides a sprite's transparency.
    glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, stride, reinterpret_cast<const void*>(offsetof(Vertex, position)));
    glVertexAttribPointer(1, 3, GL_FLOAT, GL_FALSE, stride, reinterpret_cast<const void*>(offsetof(Vertex, colour)));
    glVertexAttribPointer(2, 3, GL_FLOAT, GL_FALSE, stride, reinterpret_cast<const void*>(offsetof(Vertex, normal)));
    glVertexAttribPointer(3, 2, GL_FLOAT, GL_FALSE, stride, reinterpret_cast<const void*>(offsetof(Vertex, uv)));
}

// With the alpha test passing only alpha above 0 or more, a mesh drawn with alpha 0 (a faded-out
// overlay) has every fragment discarded: it would change no pixel and no depth.
bool IsDiscardedWhole(float alpha) {
    if (alpha > 0.0f || glIsEnabled(GL_ALPHA_TEST) == GL_FALSE) {
        return false;
    }
    GLint function = 0;
    GLfloat reference = 0.0f;
    glGetIntegerv(GL_ALPHA_TEST_FUNC, &function);
    glGetFloatv(GL_ALPHA_TEST_REF, &reference);
    return function == GL_GREATER && reference >= 0.0f;
}

}  // namespace

Mesh::Mesh(const char* meshName) : name(meshName) {
    glGenBuffers(1, &vertexBuffer);
    glGenBuffers(1, &indexBuffer);
}

Mesh::~Mesh() {
    glDeleteBuffers(1, &vertexBuffer);
    glDeleteBuffers(1, &indexBuffer);
}

void Mesh::Upload(const Vertex* vertices, int vertexCount, const unsigned int* indices, int count, int meshKind) {
    kind = meshKind;
    glBindBuffer(GL_ARRAY_BUFFER, vertexBuffer);
    glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(vertexCount * sizeof(Vertex)), vertices, GL_STATIC_DRAW);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, indexBuffer);
    glBufferData(GL_ELEMENT_ARRAY_BUFFER, static_cast<GLsizeiptr>(count * sizeof(unsigned int)), indices,
                 GL_STATIC_DRAW);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
    indexCount = count;
    hasBounds = vertexCount > 0;
    for (int i = 0; i < vertexCount; ++i) {
        const glm::vec3 p(vertices[i].position[0], vertices[i].position[1], vertices[i].position[2]);
        boundsMin = i == 0 ? p : glm::min(boundsMin, p);
        boundsMax = i == 0 ? p : glm::max(boundsMax, p);
    }
}

void Mesh::NoteCoverage(const glm::mat4& mvp) const {
    if (!hasBounds) {
        NoteMeshDrawn(-1.0f, -1.0f, 1.0f, 1.0f, true);
        return;
    }
    glm::vec2 low(0.0f);
    glm::vec2 high(0.0f);
    for (int corner = 0; corner < 8; ++corner) {
        const glm::vec4 local((corner & 1) != 0 ? boundsMax.x : boundsMin.x,
                              (corner & 2) != 0 ? boundsMax.y : boundsMin.y,
                              (corner & 4) != 0 ? boundsMax.z : boundsMin.z, 1.0f);
        const glm::vec4 clip = mvp * local;
        if (clip.w <= 0.0f) {
            NoteMeshDrawn(-1.0f, -1.0f, 1.0f, 1.0f, true);
            return;
        }
        const glm::vec2 ndc(clip.x / clip.w, clip.y / clip.w);
        low = corner == 0 ? ndc : glm::min(low, ndc);
        high = corner == 0 ? ndc : glm::max(high, ndc);
    }
    NoteMeshDrawn(low.x, low.y, high.x, high.y, false);
}

bool Mesh::IsOutsideView(const glm::mat4& mvp) const {
    if (!hasBounds) {
        return false;
    }
    // Bit 2a (2a + 1) stays set while every corner so far lies beyond the far (near) plane of
    // axis a. A corner behind the eye (w <= 0) is never judged: the mesh is then drawn.
    int allBeyond = 0x3f;
    for (int corner = 0; corner < 8 && allBeyond != 0; ++corner) {
        const glm::vec4 local((corner & 1) != 0 ? boundsMax.x : boundsMin.x,
                              (corner & 2) != 0 ? boundsMax.y : boundsMin.y,
                              (corner & 4) != 0 ? boundsMax.z : boundsMin.z, 1.0f);
        const glm::vec4 clip = mvp * local;
        if (clip.w <= 0.0f) {
            return false;
        }
        const float reach = clip.w + kCullMargin;
        int beyond = 0;
        for (int axis = 0; axis < 3; ++axis) {
            beyond |= (clip[axis] > reach ? 1 : 0) << (2 * axis);
            beyond |= (clip[axis] < -reach ? 1 : 0) << (2 * axis + 1);
        }
        allBeyond &= beyond;
    }
    return allBeyond != 0;
}

void Mesh::Draw(const Texture* texture, float alpha, const Vector3& tint) const {
    const ShaderManager& shaders = GetShaderManager();
    const glm::mat4 mvp = GetProjectionStack().Top() * GetViewStack().Top() * GetModelStack().Top();
    if (IsOutsideView(mvp) || IsDiscardedWhole(alpha)) {
        return;
    }
    NoteCoverage(mvp);
    shaders.SetMat4("MVP", mvp);
    for (GLuint i = 0; i < kAttributeCount; ++i) {
        glEnableVertexAttribArray(i);
    }
    if (texture != nullptr) {
        shaders.SetBool("textureEnabled", true);
        glBindTexture(GL_TEXTURE_2D, texture->GetId());
    } else {
        shaders.SetBool("textureEnabled", false);
    }
    shaders.SetVec3("tintColor", tint);
    shaders.SetFloat("meshAlpha", alpha);

    glBindBuffer(GL_ARRAY_BUFFER, vertexBuffer);
    SetVertexLayout();
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, indexBuffer);
    glDrawElements(PrimitiveOf(kind), indexCount, GL_UNSIGNED_INT, nullptr);

    for (GLuint i = 0; i < kAttributeCount; ++i) {
        glDisableVertexAttribArray(i);
    }
}

std::unique_ptr<Mesh> CreateQuad(const char* name, const glm::vec4& colour, float size, float uLeft, float uRight,
                                 float vTop, float vBottom) {
    const float h = size / 2.0f;
    const Vertex vertices[4] = {
        MakeVertex(-h, -h, 0.0f, colour, uLeft, vBottom),
        MakeVertex(-h, h, 0.0f, colour, uLeft, vTop),
        MakeVertex(h, -h, 0.0f, colour, uRight, vBottom),
        MakeVertex(h, h, 0.0f, colour, uRight, vTop),
    };
    const unsigned int indices[4] = {0, 1, 2, 3};
    auto mesh = std::make_unique<Mesh>(name);
    mesh->Upload(vertices, 4, indices, 4, MESH_TRIANGLE_STRIP);
    return mesh;
}

std::unique_ptr<Mesh> CreateGrid(const char* name, const glm::vec4& colour, int count, float spacing) {
    std::vector<Vertex> vertices;
    std::vector<unsigned int> indices;
    vertices.reserve(static_cast<size_t>(count) * 4);
    indices.reserve(static_cast<size_t>(count) * 4);
    const float extent = static_cast<float>(count);
    for (int i = 0; i < count; ++i) {
        const float x = static_cast<float>(i) * spacing;
        vertices.push_back(MakeVertex(x, 0.0f, 0.0f, colour, 0.0f, 0.0f));
        vertices.push_back(MakeVertex(x, extent, 0.0f, colour, 0.0f, 0.0f));
    }
    for (int j = 0; j < count; ++j) {
        const float y = static_cast<float>(j) * spacing;
        vertices.push_back(MakeVertex(0.0f, y, 0.0f, colour, 0.0f, 0.0f));
        vertices.push_back(MakeVertex(extent, y, 0.0f, colour, 0.0f, 0.0f));
    }
    for (unsigned int k = 0; k < vertices.size(); ++k) {
        indices.push_back(k);
    }
    auto mesh = std::make_unique<Mesh>(name);
    mesh->Upload(vertices.data(), static_cast<int>(vertices.size()), indices.data(), static_cast<int>(indices.size()),
                 MESH_LINES);
    return mesh;
}

std::unique_ptr<Mesh> CreateAxes(const char* name, float length) {
    const glm::vec4 red(1.0f, 0.0f, 0.0f, 1.0f);
    const glm::vec4 green(0.0f, 1.0f, 0.0f, 1.0f);
    const glm::vec4 blue(0.0f, 0.0f, 1.0f, 1.0f);
    const Vertex vertices[6] = {
        MakeVertex(0.0f, 0.0f, 0.0f, red, 0.0f, 0.0f),   MakeVertex(length, 0.0f, 0.0f, red, 0.0f, 0.0f),
        MakeVertex(0.0f, 0.0f, 0.0f, green, 0.0f, 0.0f), MakeVertex(0.0f, length, 0.0f, green, 0.0f, 0.0f),
        MakeVertex(0.0f, 0.0f, 0.0f, blue, 0.0f, 0.0f),  MakeVertex(0.0f, 0.0f, length, blue, 0.0f, 0.0f),
    };
    const unsigned int indices[6] = {0, 1, 2, 3, 4, 5};
    auto mesh = std::make_unique<Mesh>(name);
    mesh->Upload(vertices, 6, indices, 6, MESH_LINES);
    return mesh;
}
