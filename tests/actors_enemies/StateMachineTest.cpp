#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "actors/GOStateMachine.h"
#include "actors/PatrolSegment.h"

namespace {

// A state that writes what happens to it into a shared log.
class LoggingState : public GOState {
public:
    LoggingState(const std::string& name_, std::vector<std::string>* log_, int tag_ = 0)
        : GOState(name_), log(log_), tag(tag_) {}
    void Enter() override { log->push_back("enter " + name + Tag()); }
    void Update() override { log->push_back("update " + name + Tag()); }
    void Exit() override { log->push_back("exit " + name + Tag()); }

private:
    std::string Tag() const { return tag == 0 ? "" : "#" + std::to_string(tag); }

    std::vector<std::string>* log;
    int tag;
};

using Log = std::vector<std::string>;

TEST(StateMachineTest, TheFirstStateIsEnteredAtOnceAndChangesWaitForTheNextUpdate) {
    Log log;
    GOStateMachine machine;
    machine.AddState(std::make_unique<LoggingState>("IDLE_BE", &log));
    machine.AddState(std::make_unique<LoggingState>("ATTACK_BE", &log));
    EXPECT_EQ(log, (Log{"enter IDLE_BE"}));
    EXPECT_STREQ(machine.GetCurrentName(), "IDLE_BE");

    machine.ChangeState("ATTACK_BE");
    EXPECT_STREQ(machine.GetCurrentName(), "IDLE_BE");
    EXPECT_EQ(log.size(), 1u);
    machine.Update();
    EXPECT_EQ(log, (Log{"enter IDLE_BE", "exit IDLE_BE", "enter ATTACK_BE", "update ATTACK_BE"}));

    // Asking for the running state again neither leaves nor re-enters it.
    log.clear();
    machine.ChangeState("ATTACK_BE");
    machine.Update();
    EXPECT_EQ(log, (Log{"update ATTACK_BE"}));
}

TEST(StateMachineTest, UnregisteredNamesAndDuplicateRegistrationsAreIgnored) {
    Log log;
    GOStateMachine machine;
    machine.AddState(nullptr);
    EXPECT_EQ(machine.GetCurrent(), nullptr);
    machine.AddState(std::make_unique<LoggingState>("IDLE_BE", &log, 1));
    machine.AddState(std::make_unique<LoggingState>("IDLE_BE", &log, 2));
    EXPECT_EQ(machine.CountStates(), 1u);
    EXPECT_EQ(log, (Log{"enter IDLE_BE#1"}));

    machine.ChangeState("NOT_A_STATE");
    machine.ChangeState("idle_be");
    machine.Update();
    EXPECT_EQ(log, (Log{"enter IDLE_BE#1", "update IDLE_BE#1"}));
}

TEST(StateMachineTest, TheLastRequestBeforeAnUpdateWins) {
    Log log;
    GOStateMachine machine;
    machine.AddState(std::make_unique<LoggingState>("A", &log));
    machine.AddState(std::make_unique<LoggingState>("B", &log));
    machine.AddState(std::make_unique<LoggingState>("C", &log));
    machine.ChangeState("B");
    machine.ChangeState("C");
    machine.ChangeState("MISSING");
    machine.Update();
    EXPECT_EQ(log, (Log{"enter A", "exit A", "enter C", "update C"}));
}

TEST(StateMachineTest, AnEmptyMachineUpdatesToNothing) {
    GOStateMachine machine;
    machine.ChangeState("IDLE_BE");
    machine.Update();
    EXPECT_EQ(machine.GetCurrent(), nullptr);
    EXPECT_STREQ(machine.GetCurrentName(), "");
}

// --- The paths walking spirits follow ------------------------------------------------------

const Vector3 kRight(0.5f, 0.0f, 0.0f);
const Vector3 kLeft(-0.5f, 0.0f, 0.0f);

TEST(PatrolSegmentTest, APathWhosePointsShareXIsNeverCrossed) {
    const PatrolSegment upright(Vector3(3.0f, 0.0f, 0.0f), Vector3(3.0f, 5.0f, 0.0f));
    for (float x : {-100.0f, 2.9f, 3.0f, 3.1f, 100.0f}) {
        EXPECT_FALSE(upright.Crosses(Vector3(x, 0.0f, 0.0f), kRight * 400.0f));
        EXPECT_FALSE(upright.Crosses(Vector3(x, 0.0f, 0.0f), kLeft * 400.0f));
    }
    const Vector3 moved = upright.MoveAlong(Vector3(3.0f, 1.0f, 0.0f), kRight);
    EXPECT_FLOAT_EQ(moved.x, 3.5f);
}

TEST(PatrolSegmentTest, CrossingIsStrictlyBeyondTheEndAheadWhicheverWayThePointsLie) {
    const PatrolSegment forwards(Vector3(0.0f, 0.0f, 0.0f), Vector3(4.0f, 0.0f, 0.0f));
    const PatrolSegment backwards(Vector3(4.0f, 0.0f, 0.0f), Vector3(0.0f, 0.0f, 0.0f));
    for (const PatrolSegment* segment : {&forwards, &backwards}) {
        EXPECT_FALSE(segment->Crosses(Vector3(3.5f, 0.0f, 0.0f), kRight));  // lands exactly on 4
        EXPECT_TRUE(segment->Crosses(Vector3(3.6f, 0.0f, 0.0f), kRight));
        EXPECT_FALSE(segment->Crosses(Vector3(0.5f, 0.0f, 0.0f), kLeft));
        EXPECT_TRUE(segment->Crosses(Vector3(0.4f, 0.0f, 0.0f), kLeft));
        EXPECT_FLOAT_EQ(segment->PointAhead(kRight).x, 4.0f);
        EXPECT_FLOAT_EQ(segment->PointAhead(kLeft).x, 0.0f);
    }
    EXPECT_TRUE(backwards.IsStart(backwards.PointAhead(kRight)));
    EXPECT_FALSE(forwards.IsStart(forwards.PointAhead(kRight)));
}

TEST(PatrolSegmentTest, AWalkerIsClampedAtThePathsEndsAndCarriedOntoItsNeighbours) {
    PatrolSegment path(Vector3(0.0f, 0.0f, 0.0f), Vector3(4.0f, 0.0f, 0.0f));
    path.afterEnd = std::make_unique<PatrolSegment>(Vector3(4.0f, 0.0f, 0.0f), Vector3(8.0f, 2.0f, 0.0f));
    PatrolSegment* first = &path;
    PatrolSegment* second = path.afterEnd.get();
    second->beforeStart = first;

    const Vector3 nearJoint(3.8f, 0.0f, 0.0f);
    EXPECT_FLOAT_EQ(first->MoveAlong(nearJoint, kRight).x, 4.3f);
    EXPECT_EQ(first->NextSegment(nearJoint, kRight), second);
    EXPECT_EQ(first->NextSegment(Vector3(1.0f, 0.0f, 0.0f), kRight), first);

    const Vector3 nearFarEnd(7.8f, 2.0f, 0.0f);
    const Vector3 clamped = second->MoveAlong(nearFarEnd, kRight);
    EXPECT_FLOAT_EQ(clamped.x, 8.0f);
    EXPECT_FLOAT_EQ(clamped.y, 2.0f);
    EXPECT_EQ(second->NextSegment(nearFarEnd, kRight), second);
    EXPECT_EQ(second->NextSegment(Vector3(4.2f, 0.0f, 0.0f), kLeft), first);
    EXPECT_FLOAT_EQ(first->MoveAlong(Vector3(0.2f, 0.0f, 0.0f), kLeft).x, 0.0f);

    // Bounds included; a point on no segment finds the first.
    EXPECT_EQ(PatrolSegment::FindSegment(first, Vector3(4.0f, 0.0f, 0.0f)), first);
    EXPECT_EQ(PatrolSegment::FindSegment(first, Vector3(6.0f, 1.0f, 0.0f)), second);
    EXPECT_EQ(PatrolSegment::FindSegment(first, Vector3(6.0f, 5.0f, 0.0f)), first);
    EXPECT_EQ(PatrolSegment::FindSegment(nullptr, Vector3()), nullptr);
}

TEST(PatrolSegmentTest, SegmentsThatPointBackAtEachOtherDoNotHandTheStepOnForever) {
    // Both link their end to the other: a badly joined path.
    PatrolSegment a(Vector3(0.0f, 0.0f, 0.0f), Vector3(1.0f, 0.0f, 0.0f));
    a.afterEnd = std::make_unique<PatrolSegment>(Vector3(1.0f, 0.0f, 0.0f), Vector3(0.5f, 0.0f, 0.0f));
    a.afterEnd->beforeStart = &a;
    const Vector3 moved = a.MoveAlong(Vector3(0.9f, 0.0f, 0.0f), kRight);
    EXPECT_LE(moved.x, 1.0f);
}

}  // namespace
