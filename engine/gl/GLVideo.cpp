// The OpenGL backend's video pictures: one texture, replaced when the
// picture changes and drawn over the whole client area on its own viewport,
// then presented (G3DBackendShowVideo, G3DBackendReleaseVideo of
// G3DBackend.h).

#include <GL/gl.h>
#include <SDL.h>

#include "engine/G3DBackend.h"
#include "engine/G3DPcx.h"
#include "engine/gl/GLDevice.h"
#include "platform/window/Window.h"

namespace {

// The texture of the last picture shown, and what it holds.
GLuint videoTexture = 0;
int32_t textureWidth = 0, textureHeight = 0;  // power-of-two sides
int32_t pictureWidth = 0, pictureHeight = 0;
uint64_t pictureSerial = 0;

void Upload(const uint8_t* rgba, int32_t width, int32_t height, uint64_t serial) {
    const int32_t w = G3DNextPowerOfTwo(width), h = G3DNextPowerOfTwo(height);
    if (videoTexture == 0) glGenTextures(1, &videoTexture);
    glBindTexture(GL_TEXTURE_2D, videoTexture);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    if (w != textureWidth || h != textureHeight) {
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, w, h, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP);
        textureWidth = w;
        textureHeight = h;
    }
    glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    pictureWidth = width;
    pictureHeight = height;
    pictureSerial = serial;
}

// The picture as one quad over the whole viewport, in plain colour.
void DrawQuad() {
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_ALPHA_TEST);
    glDisable(GL_BLEND);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, videoTexture);
    // Texel centres at the picture's edges, so the edge rows do not fade.
    const float u0 = 0.5f / textureWidth, v0 = 0.5f / textureHeight;
    const float u1 = (pictureWidth - 0.5f) / textureWidth;
    const float v1 = (pictureHeight - 0.5f) / textureHeight;
    glBegin(GL_QUADS);
    glColor4f(1, 1, 1, 1);
    glTexCoord2f(u0, v0);
    glVertex2f(-1, 1);
    glTexCoord2f(u1, v0);
    glVertex2f(1, 1);
    glTexCoord2f(u1, v1);
    glVertex2f(1, -1);
    glTexCoord2f(u0, v1);
    glVertex2f(-1, -1);
    glEnd();
    glEnable(GL_BLEND);
    glEnable(GL_DEPTH_TEST);
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
}

// Clears the whole client area to black, draws `draw` over it and presents
// it; the frame's viewport (the last present's) comes back afterwards.
template <typename Draw>
void ShowOverClient(platform::Window& form, Draw draw) {
    int clientWidth = 0, clientHeight = 0;
    form.ClientSize(clientWidth, clientHeight);
    GLint viewport[4] = {0, 0, 0, 0}, scissor[4] = {0, 0, 0, 0};
    glGetIntegerv(GL_VIEWPORT, viewport);
    glGetIntegerv(GL_SCISSOR_BOX, scissor);
    glViewport(0, 0, clientWidth, clientHeight);
    glScissor(0, 0, clientWidth, clientHeight);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    draw();
    form.PresentGL();  // the window's overlay (its menu bar), then the swap
    glViewport(viewport[0], viewport[1], viewport[2], viewport[3]);
    glScissor(scissor[0], scissor[1], scissor[2], scissor[3]);
}

}  // namespace

void G3DBackendShowVideo(const uint8_t* rgba, int32_t width, int32_t height, uint64_t serial,
                         platform::Window& form, TDStuff& /*state*/) {
    if (form.GLContext() == nullptr) return;
    G3DGLBind();
    if (videoTexture == 0 || serial != pictureSerial || width != pictureWidth ||
        height != pictureHeight) {
        Upload(rgba, width, height, serial);
    }
    ShowOverClient(form, [] { DrawQuad(); });
}

void G3DBackendReleaseVideo(platform::Window& form) {
    G3DGLBind();
    // Both buffers of the window lose the video's pictures.
    if (form.GLContext() != nullptr) {
        ShowOverClient(form, [] {});
        ShowOverClient(form, [] {});
    }
    if (videoTexture != 0) glDeleteTextures(1, &videoTexture);
    videoTexture = 0;
    textureWidth = textureHeight = pictureWidth = pictureHeight = 0;
    pictureSerial = 0;
}
