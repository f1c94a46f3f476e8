// The scene: the visible world-coordinate range and the object database, and
// the execution of every object's display list.
#pragma once

#include "database/GO_Database.h"

#include <GL/gl.h>

struct WorldCoordinates {
    double xMin;
    double xMax;
    double yMin;
    double yMax;
};

class CGraphics {
public:
    void Init();
    void Draw() { Draw(GL_RENDER); }
    // Calls the lists 100 .. 100 + slot count - 1; in GL_SELECT each list
    // number is loaded as the selection name first.
    void Draw(GLenum mode);

    // Takes the range only when it increases on both axes; returns whether it did.
    bool SetWorldCoordinates(float xMin, float xMax, float yMin, float yMax);
    WorldCoordinates GetWorldCoordinates() const { return {m_xMin, m_xMax, m_yMin, m_yMax}; }

    CGO_Database* GetDatabase() { return &m_database; }
    int Load(const char* path) { return m_database.Load(path); }
    bool Save(const char* path) { return m_database.Save(path); }

private:
    double m_xMin = -500.0;
    double m_xMax = 500.0;
    double m_yMin = -500.0;
    double m_yMax = 500.0;
    CGO_Database m_database;
};
