// Opening and closing an object's display list, with the padding that keeps
// Mesa's allocation of small lists in constant time.
#include "geometry/GO_DisplayList.h"

#include <GL/gl.h>

#include <cstring>

namespace {

// Why 32 nodes. Mesa (22.3 to 25.0 at least) moves every list whose commands
// fit into its first 256-node block into one store shared by all small lists.
// Space in that store comes from util_idalloc_alloc_range, which hands out
// whole 32-node words and starts its search at the lowest free word, but moves
// that mark on only when a request ends exactly on a word boundary. A
// glBegin ... glEnd list is one vertex-list node of 20 nodes plus END_OF_LIST:
// 21 nodes, whether it holds 2 vertices or 361 (they live in a buffer
// object). So every new list would scan the words of all the lists alive
// before it, and compiling n lists would cost O(n^2). Eleven nodes of commands
// that draw nothing make each list exactly one word: a rotation by 0 degrees
// (5 nodes, an exact identity) and two glPushAttrib(0)/glPopAttrib pairs (2 + 1
// nodes each, saving and restoring no state). None of them leaves anything in
// feedback or selection mode, as glPassThrough would. Any other total (31, 33)
// keeps the scan; bench/DisplayList_bench shows it if Mesa's node sizes change.
//
// A placement of a shared list (a circle placing the unit circle's outline)
// is 13 nodes with END_OF_LIST: glPushMatrix 1, glTranslatef 4, glScalef 4,
// glCallList 2, glPopMatrix 1. Its padding is 19 nodes: two zero rotations
// and three empty attribute pairs. The shared list itself is a primitive and
// padded as one: a list of any other size that lives long (it is never
// deleted) would keep the allocator's mark at its word for good.
void EmptyAttributePair()
{
    glPushAttrib(0);
    glPopAttrib();
}

void Pad(CGO_DisplayList::EContent content)
{
    glRotatef(0.0f, 0.0f, 0.0f, 1.0f);
    EmptyAttributePair();
    EmptyAttributePair();
    if (content == CGO_DisplayList::EContent::Placement) {
        glRotatef(0.0f, 0.0f, 0.0f, 1.0f);
        EmptyAttributePair();
    }
}

bool IsMesa(const char* version, const char* vendor)
{
    // Mesa's hardware drivers name the hardware's maker as the vendor, but
    // every Mesa driver puts "Mesa" and its release into the version.
    return (version != nullptr && std::strstr(version, "Mesa") != nullptr) ||
           (vendor != nullptr && std::strncmp(vendor, "Mesa", 4) == 0);
}

// Decided when a list is opened, for the one list open at a time.
bool s_bPadOpenList = false;

} // namespace

bool CGO_DisplayList::PadsCurrentContext()
{
    // The geometry knows no window system, so it cannot ask which context is
    // current. Mesa keeps the version text in the context itself: its
    // address changes with the context and is a cheap key for the answer.
    // Another driver may hand out one static text for all its contexts; they
    // share one answer then. A context created where a destroyed one kept its
    // text could inherit a stale answer, which costs speed at worst: the
    // padding never changes what a list draws. No context current: no text.
    static const GLubyte* s_pKey = nullptr;
    static bool s_bPads = false;
    const GLubyte* version = glGetString(GL_VERSION);
    if (version != s_pKey) {
        s_pKey = version;
        s_bPads = IsMesa(reinterpret_cast<const char*>(version),
                         reinterpret_cast<const char*>(glGetString(GL_VENDOR)));
    }
    return s_bPads;
}

void CGO_DisplayList::Begin(int list)
{
    const GLuint name = static_cast<GLuint>(list);
    if (glIsList(name))
        glDeleteLists(name, 1);
    s_bPadOpenList = PadsCurrentContext();
    glNewList(name, GL_COMPILE);
}

void CGO_DisplayList::End(EContent content)
{
    if (s_bPadOpenList)
        Pad(content);
    glEndList();
}
