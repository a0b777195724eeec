#include "app/Frame.h"

#include <GL/glew.h>
#include <GLFW/glfw3.h>
#include <imgui.h>
#include <imgui_impl_glfw.h>
#include <imgui_impl_opengl3.h>

#include "automation/InputScript.h"
#include "frontend/State.h"
#include "frontend/StateManager.h"
#include "graphics/Camera.h"
#include "graphics/MatrixStack.h"
#include "graphics/PostProcess.h"
#include "platform/FrameClock.h"
#include "platform/Gamepad.h"
#include "platform/Input.h"

namespace {

// The editor places tiles under the cursor and the console shows where it points; every other
// screen leaves the depth unread, so the frame is not waited for here.
bool NeedsMouseDepth() {
    const State* state = GetCurrentState();
    return state == nullptr || state->GetId() == STATE_EDITOR || state->IsConsoleOpen();
}

}  // namespace

void BeginFrame() {
    StartFrameClock();
    glClearColor(0.1f, 0.1f, 0.1f, 1.0f);
    ClearColourAndDepth();
    glfwPollEvents();
    PollGamepads();
    DeliverScriptedInput(GetFrameNumber());
    ImGui_ImplOpenGL3_NewFrame();
    ImGui_ImplGlfw_NewFrame();
    ImGui::NewFrame();
    GetCamera().UpdateMatrices();
}

void EndFrame() {
    ImGui::Render();
    ImGui_ImplOpenGL3_RenderDrawData(ImGui::GetDrawData());
    SetMouseDepthRead(NeedsMouseDepth());
    EndInputFrame(GetModelStack().Top(), GetViewStack().Top(), GetProjectionStack().Top());
    StopFrameClock();
}
