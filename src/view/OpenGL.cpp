// The OpenGL window: context creation, the offscreen drawing buffer with its
// scene copy, presenting, and the mapping of Qt's paint and size events onto
// the Resize and Render hooks.
#include "view/OpenGL.h"

#include <QCloseEvent>

#include "geometry/GO_SharedOutline.h"
#include "log/Logger.h"

#include <QExposeEvent>
#include <QOpenGLContext>
#include <QOpenGLFramebufferObject>
#include <QResizeEvent>
#include <QSurfaceFormat>

#include <GL/gl.h>

#include <algorithm>
#include <cmath>

namespace {

QSurfaceFormat DrawingWindowFormat()
{
    QSurfaceFormat format;
    format.setRenderableType(QSurfaceFormat::OpenGL);
    // Qt hands out a core profile, without display lists and selection mode,
    // unless deprecated functions are requested explicitly.
    format.setProfile(QSurfaceFormat::CompatibilityProfile);
    format.setOption(QSurfaceFormat::DeprecatedFunctions);
    format.setSwapBehavior(QSurfaceFormat::DoubleBuffer);
    format.setRedBufferSize(8);
    format.setGreenBufferSize(8);
    format.setBlueBufferSize(8);
    format.setAlphaBufferSize(8);
    format.setDepthBufferSize(16);
    return format;
}

QRect CurrentViewport()
{
    GLint viewport[4] = {0, 0, 0, 0};
    glGetIntegerv(GL_VIEWPORT, viewport);
    return QRect(viewport[0], viewport[1], viewport[2], viewport[3]);
}

} // namespace

COpenGL::COpenGL()
{
    setSurfaceType(QSurface::OpenGLSurface);
    setFormat(DrawingWindowFormat());
}

COpenGL::~COpenGL()
{
    if (m_hRC != nullptr && handle() != nullptr)
        m_hRC->makeCurrent(this);
    delete m_pScene;
    delete m_pFramebuffer;
    if (m_hRC != nullptr)
        m_hRC->doneCurrent();
    delete m_hRC;
}

bool COpenGL::Create(const char* title, int left, int top, int right, int bottom)
{
    setTitle(QString::fromUtf8(title != nullptr ? title : ""));
    setFramePosition(QPoint(left, top));
    resize(std::max(1, right - left), std::max(1, bottom - top));
    create();
    if (handle() == nullptr || !SetupPixelFormat())
        return false;
    // Shown like a tool palette: the window that has the focus keeps it.
    setProperty("_q_showWithoutActivating", true);
    show();
    return true;
}

bool COpenGL::SetupPixelFormat()
{
    if (m_hRC != nullptr)
        return MakeCurrent();
    auto* context = new QOpenGLContext;
    context->setFormat(requestedFormat());
    if (!context->create() || !context->makeCurrent(this)) {
        LogWarn("No OpenGL context for the drawing window.");
        delete context;
        return false;
    }
    const QSurfaceFormat got = context->format();
    const bool coreOnly = got.profile() == QSurfaceFormat::CoreProfile && got.version() >= qMakePair(3, 2);
    if (coreOnly || !QOpenGLFramebufferObject::hasOpenGLFramebufferObjects() ||
        !QOpenGLFramebufferObject::hasOpenGLFramebufferBlit()) {
        LogWarn("The OpenGL context of the drawing window lacks display lists or framebuffer objects.");
        context->doneCurrent();
        delete context;
        return false;
    }
    m_hRC = context;
    // Circles' lists call the shared outline; a new context has none yet.
    // Made before any object's list, it sits at the start of Mesa's store of
    // small lists: a list that stays while the drawing's lists are deleted
    // and compiled anew must not lie between them, or every new list would
    // search the store from its place on.
    if (!CGO_SharedOutline::EnsureInCurrentContext())
        LogWarn("The shared circle outline could not be compiled; circles are drawn from their own strips.");
    return MakeCurrent();
}

QSize COpenGL::WantedBufferSize() const
{
    const qreal ratio = devicePixelRatio();
    return QSize(std::max(1, static_cast<int>(std::lround(width() * ratio))),
                 std::max(1, static_cast<int>(std::lround(height() * ratio))));
}

int COpenGL::BufferWidth() const { return WantedBufferSize().width(); }
int COpenGL::BufferHeight() const { return WantedBufferSize().height(); }

bool COpenGL::EnsureBuffers()
{
    const QSize wanted = WantedBufferSize();
    if (m_pFramebuffer != nullptr && m_pFramebuffer->size() == wanted)
        return true;
    delete m_pScene;
    delete m_pFramebuffer;
    QOpenGLFramebufferObjectFormat format;
    format.setAttachment(QOpenGLFramebufferObject::NoAttachment);
    format.setInternalTextureFormat(GL_RGBA8);
    m_pFramebuffer = new QOpenGLFramebufferObject(wanted, format);
    m_pScene = new QOpenGLFramebufferObject(wanted, format);
    m_bSceneStored = false;
    if (!m_pFramebuffer->isValid() || !m_pScene->isValid()) {
        LogWarn("The drawing buffer of %ix%i pixels could not be created.", wanted.width(), wanted.height());
        return false;
    }
    // A fresh buffer has undefined content; until the next render it shows
    // the background.
    m_pFramebuffer->bind();
    glClearColor(1.0f, 1.0f, 1.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    // The picture is gone with the old buffer; have it drawn again.
    requestUpdate();
    return true;
}

bool COpenGL::MakeCurrent()
{
    if (m_hRC == nullptr || handle() == nullptr || !m_hRC->makeCurrent(this))
        return false;
    if (!EnsureBuffers())
        return false;
    m_pFramebuffer->bind();
    return true;
}

void COpenGL::Present()
{
    // Swapping a window that is not on screen is undefined in Qt; the
    // picture stays in the drawing buffer and the expose presents it.
    if (!isExposed() || !MakeCurrent())
        return;
    const QRect all(QPoint(0, 0), m_pFramebuffer->size());
    QOpenGLFramebufferObject::blitFramebuffer(nullptr, all, m_pFramebuffer, all);
    m_hRC->swapBuffers(this);
    m_pFramebuffer->bind();
}

void COpenGL::StoreScene()
{
    if (!MakeCurrent())
        return;
    QOpenGLFramebufferObject::blitFramebuffer(m_pScene, m_pFramebuffer);
    m_pFramebuffer->bind();
    m_sceneViewport = CurrentViewport();
    m_bSceneStored = true;
}

void COpenGL::RestoreScene()
{
    if (!MakeCurrent())
        return;
    if (!m_bSceneStored) {
        // The buffers were replaced since the last render (a resize or a
        // move to another screen): render the scene anew, which stores it.
        Render();
        MakeCurrent();
        return;
    }
    QOpenGLFramebufferObject::blitFramebuffer(m_pFramebuffer, m_pScene);
    m_pFramebuffer->bind();
}

QImage COpenGL::GrabFramebuffer()
{
    if (!MakeCurrent())
        return QImage();
    return m_pFramebuffer->toImage();
}

void COpenGL::Resize(int, int) {}
void COpenGL::Render() {}
void COpenGL::AfterPaintRender() {}
bool COpenGL::PictureIsCurrent() { return false; }

void COpenGL::OnPaint()
{
    // One flag for every window: a paint never starts inside another one.
    static bool s_bPainting = false;
    if (s_bPainting || !MakeCurrent())
        return;
    s_bPainting = true;
    Resize(BufferWidth(), BufferHeight());
    if (m_bSceneStored && CurrentViewport() == m_sceneViewport && PictureIsCurrent()) {
        // Uncovered or shown again: the drawing buffer still holds the
        // picture, feedback and all, and a large drawing takes long to draw.
        Present();
        s_bPainting = false;
        return;
    }
    Render();
    AfterPaintRender();
    glFlush();
    glFinish();
    Present();
    s_bPainting = false;
}

void COpenGL::OnSize(int cx, int cy)
{
    if (!MakeCurrent())
        return;
    Resize(cx, cy);
}

void COpenGL::closeEvent(QCloseEvent* event)
{
    event->ignore();
    if (m_fnCloseRequested)
        m_fnCloseRequested();
}

void COpenGL::exposeEvent(QExposeEvent*)
{
    // Painted at the next frame, with whatever else asked for a paint until
    // then: a window appearing, moving or being uncovered sends several
    // exposes, and each paint of a large drawing takes long.
    if (isExposed())
        requestUpdate();
}

void COpenGL::resizeEvent(QResizeEvent*)
{
    OnSize(BufferWidth(), BufferHeight());
}

bool COpenGL::event(QEvent* event)
{
    if (event->type() == QEvent::UpdateRequest) {
        OnPaint();
        return true;
    }
    return QWindow::event(event);
}
