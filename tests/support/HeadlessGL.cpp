// Headless GL context for core tests and benchmarks.
#include "support/HeadlessGL.h"

#include "geometry/GO_SharedOutline.h"

#define GL_GLEXT_PROTOTYPES 1
#include <EGL/egl.h>
#include <EGL/eglext.h>
#include <GL/gl.h>
#include <GL/glext.h>

#include <cstdio>

namespace testsupport {

HeadlessGL::HeadlessGL(int width, int height)
{
    auto getPlatformDisplay =
        reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(eglGetProcAddress("eglGetPlatformDisplayEXT"));
    if (getPlatformDisplay == nullptr) {
        std::fprintf(stderr, "HeadlessGL: eglGetPlatformDisplayEXT is missing\n");
        return;
    }
    EGLDisplay display = getPlatformDisplay(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
    if (display == EGL_NO_DISPLAY || !eglInitialize(display, nullptr, nullptr)) {
        std::fprintf(stderr, "HeadlessGL: no surfaceless EGL display\n");
        return;
    }
    m_display = display;
    if (!eglBindAPI(EGL_OPENGL_API)) {
        std::fprintf(stderr, "HeadlessGL: desktop OpenGL is not available through EGL\n");
        return;
    }
    const EGLint configAttributes[] = {EGL_RENDERABLE_TYPE, EGL_OPENGL_BIT, EGL_SURFACE_TYPE, EGL_PBUFFER_BIT,
                                       EGL_NONE};
    EGLConfig config = nullptr;
    EGLint count = 0;
    if (!eglChooseConfig(display, configAttributes, &config, 1, &count) || count < 1) {
        std::fprintf(stderr, "HeadlessGL: no EGL config for OpenGL\n");
        return;
    }
    const EGLint contextAttributes[] = {EGL_CONTEXT_OPENGL_PROFILE_MASK,
                                        EGL_CONTEXT_OPENGL_COMPATIBILITY_PROFILE_BIT, EGL_NONE};
    EGLContext context = eglCreateContext(display, config, EGL_NO_CONTEXT, contextAttributes);
    if (context == EGL_NO_CONTEXT) {
        std::fprintf(stderr, "HeadlessGL: cannot create a compatibility context\n");
        return;
    }
    m_context = context;
    if (!eglMakeCurrent(display, EGL_NO_SURFACE, EGL_NO_SURFACE, context)) {
        std::fprintf(stderr, "HeadlessGL: cannot make the context current without a surface\n");
        return;
    }
    // Without a surface the default framebuffer is incomplete and Mesa refuses
    // to draw, so give the context a framebuffer of its own.
    glGenRenderbuffers(1, &m_renderbuffer);
    glBindRenderbuffer(GL_RENDERBUFFER, m_renderbuffer);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, width, height);
    glGenFramebuffers(1, &m_framebuffer);
    glBindFramebuffer(GL_FRAMEBUFFER, m_framebuffer);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, m_renderbuffer);
    if (glCheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) {
        std::fprintf(stderr, "HeadlessGL: framebuffer incomplete\n");
        return;
    }
    glViewport(0, 0, width, height);
    // As the drawing window does with a new context: the circles' shared
    // outline comes first, so that it sits at the start of Mesa's store of
    // small lists and never between the objects' lists.
    CGO_SharedOutline::EnsureInCurrentContext();
    m_bValid = true;
}

HeadlessGL::~HeadlessGL()
{
    if (m_display == nullptr)
        return;
    if (m_bValid) {
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
        glDeleteFramebuffers(1, &m_framebuffer);
        glDeleteRenderbuffers(1, &m_renderbuffer);
    }
    eglMakeCurrent(m_display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
    if (m_context != nullptr)
        eglDestroyContext(m_display, m_context);
    eglTerminate(m_display);
}

} // namespace testsupport
