// A top-level window with its own legacy OpenGL context. It renders into an
// offscreen framebuffer that keeps its content between presents, so feedback
// can be drawn over the last picture.
#pragma once

#include <QWindow>

class QOpenGLContext;
class QOpenGLFramebufferObject;

class COpenGL : public QWindow {
    Q_OBJECT
public:
    COpenGL();
    ~COpenGL() override;

    // Creates the window at the given screen rectangle with the context
    // current, and shows it without taking the focus. False when no usable
    // OpenGL context can be had.
    bool Create(const char* title, int left, int top, int right, int bottom);

    virtual void Resize(int width, int height);
    virtual void Render();

    // Makes the window's context current again (other contexts, such as Qt's
    // own, may have been made current in between).
    void MakeCurrent();
    // Copies the offscreen picture to the window.
    void Present();

    // Size of the drawing buffer in device pixels.
    int BufferWidth() const;
    int BufferHeight() const;

protected:
    void exposeEvent(QExposeEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool event(QEvent* event) override;

    void OnPaint();
    void OnSize(int cx, int cy);

private:
    QOpenGLContext* m_hRC = nullptr;
    QOpenGLFramebufferObject* m_pFramebuffer = nullptr;
};
