// A top-level window with its own legacy OpenGL context. It renders into an
// offscreen framebuffer that keeps its content between presents, so feedback
// can be drawn over the last picture.
#pragma once

#include <QImage>
#include <QWindow>

#include <QRect>

#include <functional>

class QOpenGLContext;
class QOpenGLFramebufferObject;

class COpenGL : public QWindow {
    Q_OBJECT
public:
    COpenGL();
    ~COpenGL() override;

    // Creates the window with its frame at (left, top) and a client area of
    // (right - left) x (bottom - top) pixels, leaves the context current, and
    // shows it without taking the focus. False when no usable OpenGL context
    // can be had; the window then stays hidden.
    bool Create(const char* title, int left, int top, int right, int bottom);

    // Hooks for the concrete window; width and height in device pixels.
    virtual void Resize(int width, int height);
    virtual void Render();
    // Runs after the Render of a paint, before the picture is presented:
    // what is drawn over the scene can be drawn again here.
    virtual void AfterPaintRender();
    // True when the last Render's picture is still what Render would draw;
    // a paint then only shows the drawing buffer again. Never, unless the
    // window knows better.
    virtual bool PictureIsCurrent();

    // Makes the window's context current again (other contexts, such as Qt's
    // own, may have been made current in between) and binds the drawing
    // buffer. False before Create has succeeded.
    bool MakeCurrent();
    // Copies the offscreen picture to the window.
    void Present();

    // Size of the drawing buffer in device pixels.
    int BufferWidth() const;
    int BufferHeight() const;

    // The drawing buffer as it is now, top row first, in device pixels.
    QImage GrabFramebuffer();

    // The window's close box does not close it: the drawing window lives as
    // long as the program, so its owner decides (the control center ends the
    // program as its own close box does).
    void SetCloseHandler(std::function<void()> handler) { m_fnCloseRequested = std::move(handler); }

protected:
    void closeEvent(QCloseEvent* event) override;
    void exposeEvent(QExposeEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool event(QEvent* event) override;

    void OnPaint();
    void OnSize(int cx, int cy);

    // Keeps a copy of the drawing buffer as the finished scene, and puts it
    // back; feedback is removed by restoring the scene under it.
    void StoreScene();
    void RestoreScene();

private:
    bool SetupPixelFormat();
    bool EnsureBuffers();
    QSize WantedBufferSize() const;

    QOpenGLContext* m_hRC = nullptr;
    QOpenGLFramebufferObject* m_pFramebuffer = nullptr;
    QOpenGLFramebufferObject* m_pScene = nullptr;
    bool m_bSceneStored = false;
    // The viewport, in device pixels, the stored scene was drawn through: a
    // picture drawn before the window got its size is not current.
    QRect m_sceneViewport;
    std::function<void()> m_fnCloseRequested;
};
