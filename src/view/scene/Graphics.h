// The scene: the visible world-coordinate range and the object database, and
// the execution of every object's display list. Qt-free, so the same drawing
// and picking run in a window and in a headless context.
#pragma once

#include "database/GO_Database.h"
#include "database/GO_DatabaseObserver.h"
#include "snap/SpatialIndex.h"
#include "view/scene/ViewRange.h"

#include <GL/gl.h>

class CGraphics : private IGO_DatabaseObserver {
public:
    // Tells the objects the visible range (see CGO_VisibleBox): the program
    // has one scene, and the last one constructed or given a range owns it.
    CGraphics();
    ~CGraphics() override;
    CGraphics(const CGraphics&) = delete;
    CGraphics& operator=(const CGraphics&) = delete;

    void Init();
    void Draw() { Draw(GL_RENDER); }
    // Calls the lists 100 .. 100 + slot count - 1; in GL_SELECT each list
    // number is loaded as the selection name first.
    void Draw(GLenum mode);

    // The range as orthographic projection, with an identity modelview: what
    // picking and point conversion read back. The viewport is the caller's.
    void ApplyProjection();

    // The whole picture into the current framebuffer: white background, the
    // range as orthographic projection, every object black and one pixel
    // wide. Leaves the projection and an identity modelview in place for
    // picking and point conversion. The viewport is the caller's.
    void RenderScene();

    // Draws in selection mode through a size x size region centred on (x, y)
    // (GL window coordinates, y upwards) of the given viewport. Returns the
    // selection name (list number) of the first object hit, 0 when none is.
    // Uses the modelview the last RenderScene left.
    int Pick(double x, double y, double size, const GLint viewport[4]);

    // Takes the range only when it is finite and increases on both axes;
    // returns whether it did. A refused range changes nothing and logs nothing.
    // A new range rebuilds the lists of the objects far larger than the old
    // or the new one (they are clipped to the range), and no other list.
    bool SetWorldCoordinates(float xMin, float xMax, float yMin, float yMax);
    WorldCoordinates GetWorldCoordinates() const { return {m_xMin, m_xMax, m_yMin, m_yMax}; }

    CGO_Database* GetDatabase() { return &m_database; }
    // The boxes of the objects, kept up to date with the database.
    CSpatialIndex& GetIndex() { return m_index; }

    // The snap grid beneath the objects, light grey, with cells at least
    // 12 logical pixels wide.
    void SetGridShown(bool shown);
    bool IsGridShown() const { return m_bGridShown; }
    // Device pixels per logical pixel of the window drawn into, for the grid.
    void SetPixelRatio(double ratio);
    // Whether anything the picture shows changed since the last RenderScene:
    // an object, the range, the grid or the pixel ratio. A window whose
    // picture is still current can show it again without drawing it.
    bool HasChangedSinceRender() const { return m_bChanged; }
    int Load(const char* path) { return m_database.Load(path); }
    bool Save(const char* path) { return m_database.Save(path); }

private:
    CGO_Box VisibleBox() const { return {m_xMin, m_yMin, m_xMax, m_yMax}; }
    void RebuildClippedLists(const CGO_Box& previous, const CGO_Box& current);

    double m_xMin = -500.0;
    double m_xMax = 500.0;
    double m_yMin = -500.0;
    double m_yMax = 500.0;
    CGO_Database m_database;
    CSpatialIndex m_index{m_database};
    bool m_bGridShown = false;
    double m_dGridRatio = 1.0;
    bool m_bChanged = true;

    void OnSlotChanging(int) override { m_bChanged = true; }
    void OnDrawingReplaced() override { m_bChanged = true; }

    void DrawGrid();
};
