#include "engine/gl/GLDraw.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <utility>

#include "engine/G3DAngles.h"
#include "engine/G3DBackend.h"
#include "engine/G3DCamera.h"
#include "engine/G3DState.h"
#include "engine/gl/GLDevice.h"
#include "engine/gl/GLTextures.h"

namespace {

// OpenGL receives world units divided by this.
constexpr float kUnitsPerGL = 20.0f;

void Vertex(float x, float y, float z) {
    glVertex3f(x / kUnitsPerGL, y / kUnitsPerGL, z / kUnitsPerGL);
}

void DrawFlat(const TG3DTriangle& t) {
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_ALPHA_TEST);
    const float light = 1 - t.Dark0;  // the first vertex's darkness for the whole face
    glBegin(GL_TRIANGLES);
    glColor4f(light * (t.Red / 256.0f), light * (t.Green / 256.0f), light * (t.Blue / 256.0f),
              t.Alpha);
    Vertex(t.X0, t.Y0, t.Z0);
    Vertex(t.X1, t.Y1, t.Z1);
    Vertex(t.X2, t.Y2, t.Z2);
    glEnd();
}

void DrawTextured(const TG3DTriangle& t) {
    glEnable(GL_TEXTURE_2D);
    if (t.AlphaTest) {
        glEnable(GL_ALPHA_TEST);
    } else {
        glDisable(GL_ALPHA_TEST);
    }
    const bool known = t.Texture >= 0 && t.Texture < static_cast<int32_t>(G3DTextureNames.size());
    glBindTexture(GL_TEXTURE_2D, known ? G3DTextureNames[t.Texture] : 0);  // filters: Upload
    float st[3][2];
    G3DTriangleTexCoords(t.LayoutLow, t.LayoutSwap, st);
    const float dark[3] = {t.Dark0, t.Dark1, t.Dark2};
    const float xyz[3][3] = {{t.X0, t.Y0, t.Z0}, {t.X1, t.Y1, t.Z1}, {t.X2, t.Y2, t.Z2}};
    glBegin(GL_TRIANGLES);
    for (int k = 0; k < 3; ++k) {
        glColor4f(1 - dark[k], 1 - dark[k], 1 - dark[k], t.Alpha);
        glTexCoord2f(st[k][0], st[k][1]);
        Vertex(xyz[k][0], xyz[k][1], xyz[k][2]);
    }
    glEnd();
}

void DrawEntry(int32_t index, TDStuff& state) {
    if (index < 0 || index >= static_cast<int32_t>(state.RenderList.size())) return;
    const TG3DTriangle& t = state.RenderList[index];
    if (t.Alpha == 1.0f) {
        glDisable(GL_BLEND);
    } else {
        glEnable(GL_BLEND);
    }
    if (t.Untextured) {
        DrawFlat(t);
    } else {
        DrawTextured(t);
    }
}

void DrawSorted(TDStuff& state, int32_t count) {
    for (int32_t i = 0; i < count; ++i) DrawEntry(state.SortBuffer[i].Index, state);
}

void DrawSecondEye(TDStuff& state, int32_t count) {
    glColorMask(state.EyeMaskR != 0, state.EyeMaskG != 0, state.EyeMaskB != 0, GL_FALSE);
    glClear(GL_DEPTH_BUFFER_BIT);
    float dx = 0, dz = 0;
    G3DSecondEyeOffset(state, dx, dz);
    G3DShiftRenderList(state, count, dx, dz);
    DrawSorted(state, count);
}

}  // namespace

void G3DTriangleTexCoords(bool layoutLow, bool layoutSwap, float (&st)[3][2]) {
    constexpr float lo = 0.005f, hi = 0.995f;
    const float low[3][2] = {{lo, lo}, {hi, lo}, {hi, hi}};
    const float high[3][2] = {{hi, hi}, {lo, hi}, {lo, lo}};
    for (int k = 0; k < 3; ++k) {
        st[k][0] = layoutLow ? low[k][0] : high[k][0];
        st[k][1] = layoutLow ? low[k][1] : high[k][1];
        if (layoutSwap) std::swap(st[k][0], st[k][1]);
    }
}

void G3DDrawTriangle(int32_t index, TDStuff& state) {
    G3DGLBind();
    DrawEntry(index, state);
}

void G3DBackendSetCamera(TDStuff& state) {
    G3DGLBind();
    glClear(GL_DEPTH_BUFFER_BIT);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    const GLfloat mirror[16] = {-1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    glMultMatrixf(mirror);  // +X on the right
    const double aspect =
        state.CentreY == 0 ? 1.0 : static_cast<double>(state.CentreX) / state.CentreY;
    gluPerspective(G3DFieldOfView(state), aspect, 1.0, 65536.0);
    const int64_t roll = -int64_t{state.CamRoll} * 180;
    glRotatef(static_cast<float>(static_cast<double>(roll) / 16384.0), 0, 0, 1);
    const double cp = state.CosPitch;
    gluLookAt(0, 0, 0, double{state.SinYaw} * cp, state.SinPitch, double{state.CosYaw} * cp, 0, cp,
              0);
    glMatrixMode(GL_MODELVIEW);
}

void G3DBackendDrawList(TDStuff& state, int32_t count) {
    G3DGLBind();
    if (state.ReliefOn) glColorMask(GL_TRUE, GL_FALSE, GL_FALSE, GL_FALSE);  // first eye: red
    DrawSorted(state, count);
    if (state.ReliefOn && count > 0) DrawSecondEye(state, count);
    // Overlays and the menu are drawn after the flush: full colour for them.
    if (state.ReliefOn) glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
}

void G3DBackendReliefOff(TDStuff& /*state*/) {
    G3DGLBind();
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
}
