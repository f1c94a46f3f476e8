// The object base: the id factory and its reset, the class registry the
// drawing-file reader creates objects through, and the bare base object.
#include "geometry/GO_Circle.h"
#include "geometry/GO_GeoObject.h"
#include "geometry/GO_Line.h"
#include "geometry/GO_RuntimeClass.h"
#include "MemoryArchive.h"
#include "support/LogTail.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

using testsupport::LogTail;
using Lines = std::vector<std::string>;

TEST(GO_GeoObject, IdsCountUpFromZeroWithListNumbersFromHundred)
{
    CGO_GeoObject::ResetIdFactory();
    LogTail tail;
    CGO_Line line;
    CGO_Circle circle;
    EXPECT_EQ(line.GetId(), 0);
    EXPECT_EQ(line.GetDisplayList(), 100);
    EXPECT_EQ(circle.GetId(), 1);
    EXPECT_EQ(circle.GetDisplayList(), 101);
    EXPECT_EQ(tail.Lines(), (Lines{"[INFO] New line created: object id #0",
                                   "[INFO] New circle created: object id #1"}));
}

TEST(GO_GeoObject, DeletingAnObjectDoesNotFreeItsId)
{
    CGO_GeoObject::ResetIdFactory();
    auto first = std::make_unique<CGO_Line>();
    auto second = std::make_unique<CGO_Circle>();
    auto third = std::make_unique<CGO_Line>();
    second.reset();
    EXPECT_EQ(CGO_GeoObject::PeekNextId(), 3);
    CGO_Circle next;
    EXPECT_EQ(next.GetId(), 3);
    EXPECT_EQ(next.GetDisplayList(), 103);
    EXPECT_EQ(first->GetId(), 0);
    EXPECT_EQ(third->GetId(), 2);
}

TEST(GO_GeoObject, ResetStartsTheIdsAtZeroAgainAndSaysSo)
{
    CGO_Line before1;
    CGO_Line before2;
    LogTail tail;
    CGO_GeoObject::ResetIdFactory();
    CGO_Circle after;
    EXPECT_EQ(after.GetId(), 0);
    EXPECT_EQ(after.GetDisplayList(), 100);
    EXPECT_EQ(tail.Lines(), (Lines{"[DEBUG] GeoObject id factory resetted.",
                                   "[INFO] New circle created: object id #0"}));
}

TEST(GO_GeoObject, BareObjectHasFixedValuesTakesNoIdAndDoesNothing)
{
    CGO_GeoObject::ResetIdFactory();
    LogTail tail;
    CGO_GeoObject bare;
    EXPECT_EQ(bare.GetId(), -1);
    EXPECT_EQ(bare.GetDisplayList(), 0);
    EXPECT_EQ(CGO_GeoObject::PeekNextId(), 0);

    // Every transform of the base is a no-op, and storing writes no record.
    bare.Move(CGO_Vector(1, 1));
    bare.Rotate(90);
    bare.RotateAbout(CGO_Point(1, 1), 90);
    bare.Scale(2);
    bare.ScaleAbout(CGO_Point(1, 1), 2);
    bare.FlipHorizontal();
    bare.FlipVertical();
    bare.FlipOnOrigin();
    bare.FlipOnStraight(CGO_Point(0, 0), CGO_Point(1, 1));
    bare.GenerateDisplayList();
    testsupport::MemoryArchive store;
    bare.Serialize(store);
    EXPECT_TRUE(store.Floats().empty());
    testsupport::MemoryArchive load({1.0f, 2.0f});
    bare.Serialize(load);
    EXPECT_EQ(load.FloatsRead(), 0u);
    EXPECT_TRUE(tail.Lines().empty());

    bare.DeleteDisplayList();
    EXPECT_EQ(tail.Lines(), Lines{"[DEBUG] Geo object #-1 removed."});
}

TEST(GO_RuntimeClass, KnownNamesResolveWithSchemaZeroAndCreateTheirClass)
{
    const struct {
        const char* name;
        int recordFloats;
        bool drawsId;
    } classes[] = {{"CGO_GeoObject", 0, false}, {"CGO_Line", 4, true}, {"CGO_Circle", 3, true}};

    CGO_GeoObject::ResetIdFactory();
    int nextId = 0;
    for (const auto& c : classes) {
        SCOPED_TRACE(c.name);
        const CGO_RuntimeClass* runtimeClass = CGO_RuntimeClass::FromName(c.name);
        ASSERT_NE(runtimeClass, nullptr);
        EXPECT_STREQ(runtimeClass->m_lpszClassName, c.name);
        EXPECT_EQ(runtimeClass->m_wSchema, 0u);
        EXPECT_EQ(runtimeClass->m_nRecordFloats, c.recordFloats);

        std::unique_ptr<CGO_GeoObject> object(runtimeClass->CreateObject());
        ASSERT_NE(object, nullptr);
        EXPECT_EQ(object->GetRuntimeClass(), runtimeClass);
        EXPECT_EQ(object->GetId(), c.drawsId ? nextId : -1);
        if (c.drawsId)
            ++nextId;
        EXPECT_EQ(CGO_GeoObject::PeekNextId(), nextId);
    }
}

TEST(GO_RuntimeClass, OtherNamesAreUnknown)
{
    for (const char* name : {"", "CGO_Lin", "CGO_Line ", "cgo_line", "CGO_Ellipse", "CObject"})
        EXPECT_EQ(CGO_RuntimeClass::FromName(name), nullptr) << '"' << name << '"';
    // A name read from a file carries its length, not a terminator.
    EXPECT_EQ(CGO_RuntimeClass::FromName(std::string_view("CGO_Line\0", 9)), nullptr);
}
