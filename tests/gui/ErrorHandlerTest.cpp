// An error that leaves an event handler is shown and the program goes on.
#include <QTimer>
#include <stdexcept>

#include "app/Application.h"
#include "tests/gui/MainFormFixture.h"

namespace mxc9::testing {
namespace {

TEST(DeliverGuarded, ShowsTheErrorOfAHandlerAndReportsTheEventNotHandled) {
    FakeMessageBoxes boxes;
    const bool handled =
        DeliverGuarded([]() -> bool { throw std::runtime_error("cannot write MXC9.ini"); }, &boxes);
    EXPECT_FALSE(handled);
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, "cannot write MXC9.ini.");
    EXPECT_EQ(boxes.shown[0].icon, MbIcon::Error);
    EXPECT_EQ(boxes.shown[0].buttons, MbButtons::Ok);

    EXPECT_TRUE(DeliverGuarded([] { return true; }, &boxes));
    EXPECT_EQ(boxes.shown.size(), 1u);
}

}  // namespace
}  // namespace mxc9::testing
