#include "engine/gl/GLTextures.h"

#include <GL/gl.h>

#include "engine/G3DBackend.h"
#include "engine/G3DImages.h"
#include "engine/G3DPcx.h"
#include "engine/gl/GLDevice.h"

std::array<uint32_t, 32768> G3DTextureNames{};

namespace {

// Replaces `name` by a new texture of width × height RGBA pixels. The
// filters belong to the texture object: set here once, not at every draw.
void Upload(uint32_t& name, const uint8_t* rgba, int32_t width, int32_t height) {
    G3DGLBind();
    GLuint texture = name;
    if (texture != 0) glDeleteTextures(1, &texture);
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    name = texture;
}

void SetOverlayState(const TG3DImage& image, bool alphaTest) {
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_LIGHTING);
    glDisable(GL_CULL_FACE);
    glEnable(GL_BLEND);
    if (alphaTest) {
        glEnable(GL_ALPHA_TEST);
    } else {
        glDisable(GL_ALPHA_TEST);
    }
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, image.TextureName);
}

}  // namespace

void G3DBackendUploadPicture(int32_t picture, const uint8_t* rgba, int32_t width, int32_t height) {
    if (picture < 0 || picture >= static_cast<int32_t>(G3DTextureNames.size())) return;
    Upload(G3DTextureNames[picture], rgba, width, height);
}

void G3DBackendUploadImage(TG3DImage& image) {
    Upload(image.TextureName, image.Pixels.data(), G3DNextPowerOfTwo(image.Width),
           G3DNextPowerOfTwo(image.Height));
}

void G3DBackendDrawImage(const TG3DImage& image, bool alphaTest, int32_t transparency, float x,
                         float y, float w, float h, TDStuff& /*state*/) {
    G3DGLBind();
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    const float left = 2 * x - 1, top = 1 - 2 * y;
    const float alpha = static_cast<float>(1.0 - transparency / 100.0);
    SetOverlayState(image, alphaTest);
    glBegin(GL_POLYGON);
    glColor4f(1, 1, 1, alpha);
    glTexCoord2f(0, 0);
    glVertex2f(left, top);
    glTexCoord2f(image.U, 0);
    glVertex2f(left + 2 * w, top);
    glTexCoord2f(image.U, image.V);
    glVertex2f(left + 2 * w, top - 2 * h);
    glTexCoord2f(0, image.V);
    glVertex2f(left, top - 2 * h);
    glEnd();
    glEnable(GL_DEPTH_TEST);
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
}
