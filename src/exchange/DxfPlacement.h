// Where a block's entities land: the affine map from a block's coordinates
// to the model space, composed from the insertions that lead to it.
#pragma once

struct CDxfPlacement {
    // x' = a x + b y + tx, y' = c x + d y + ty
    double a = 1.0, b = 0.0, c = 0.0, d = 1.0, tx = 0.0, ty = 0.0;

    void Apply(double x, double y, double& outX, double& outY) const
    {
        outX = a * x + b * y + tx;
        outY = c * x + d * y + ty;
    }
    // This map after the inner one: first inner, then this.
    CDxfPlacement After(const CDxfPlacement& inner) const
    {
        CDxfPlacement m;
        m.a = a * inner.a + b * inner.c;
        m.b = a * inner.b + b * inner.d;
        m.c = c * inner.a + d * inner.c;
        m.d = c * inner.b + d * inner.d;
        Apply(inner.tx, inner.ty, m.tx, m.ty);
        return m;
    }
    double Determinant() const { return a * d - b * c; }
};
