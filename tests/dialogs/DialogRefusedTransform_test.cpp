// A transformation dialog whose transform the object refuses (its result
// would not be finite) ends with Cancel, as for an unknown id: the object
// keeps its exact coordinates and its list, and the log says why.
#include "dialogs/DialogDriver.h"

#include "dialogs/DialogResult.h"
#include "dialogs/DialogRunner.h"
#include "geometry/GO_Line.h"
#include "support/LogTail.h"

#include <string>
#include <vector>

namespace dialogtest {
namespace {

struct RefusedCase {
    const char* name;
    int action;
    QMap<int, QString> fields; // besides the id
    int button;
    const char* done;          // as the warning names the operation
};

const RefusedCase kRefused[] = {
    {"move", ACTION_MOVE_PICK, {{1022, "3e38"}, {1023, "0"}}, 1, "moved"},
    {"rotate", ACTION_ROTATE_PICK, {{1024, "45"}}, 1, "rotated"},
    {"scale", ACTION_SCALE_PICK, {{1027, "1e38"}}, 1, "scaled"},
    {"mirror", ACTION_FLIP_PICK, {{1017, "3e38"}, {1019, "0"}, {1018, "3e38"}, {1020, "1"}}, 1030,
     "flipped on straight"},
};

using DialogRefusedTransform = DialogTest;

TEST_F(DialogRefusedTransform, EndsWithCancelAndLeavesTheObjectAndItsList)
{
    for (const RefusedCase& c : kRefused) {
        SCOPED_TRACE(c.name);
        auto* line = new CGO_Line();
        line->SetPoints(CGO_Point(-3e38f, 3e38f), CGO_Point(2e38f, 3e38f));
        Database()->Add(line);
        const int id = line->GetId();
        const CGO_ObjectState before = line->SaveState();

        testsupport::LogTail log;
        const int result = RunModal([&] { return RunActionDialog(c.action); }, [&](QDialog* dialog) {
            SetField(dialog, 1016, QString::number(id));
            for (auto it = c.fields.begin(); it != c.fields.end(); ++it)
                SetField(dialog, it.key(), it.value());
            Click(dialog, c.button);
        });
        EXPECT_EQ(result, RESULT_CANCEL);
        ASSERT_NE(Get<CGO_Line>(id), nullptr);
        EXPECT_TRUE(Get<CGO_Line>(id)->SaveState() == before);
        EXPECT_TRUE(log.Contains("[WARN] Line #" + std::to_string(id) + " not " + c.done +
                                 ": the result would not be finite."));
        EXPECT_FALSE(log.Contains("generated.")) << "the list was rebuilt";
    }
}

} // namespace
} // namespace dialogtest
