// A current OpenGL compatibility context without any display: EGL on Mesa's
// surfaceless platform, rendering into a small framebuffer object so that
// drawing, selection and feedback all work.
#pragma once

namespace testsupport {

class HeadlessGL {
public:
    explicit HeadlessGL(int width = 256, int height = 256);
    ~HeadlessGL();

    bool IsValid() const { return m_bValid; }

    HeadlessGL(const HeadlessGL&) = delete;
    HeadlessGL& operator=(const HeadlessGL&) = delete;

private:
    void* m_display = nullptr;
    void* m_context = nullptr;
    unsigned m_framebuffer = 0;
    unsigned m_renderbuffer = 0;
    bool m_bValid = false;
};

} // namespace testsupport
