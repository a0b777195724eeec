#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <sstream>
#include <thread>

#include "math/MathUtil.h"
#include "math/Vector.h"

TEST(Vector, NormalizedGivesUnitLengthAndSaysNothing) {
    testing::internal::CaptureStdout();
    const Vector3 n = Vector3(3.0f, 4.0f, 0.0f).Normalized();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_FLOAT_EQ(n.x, 0.6f);
    EXPECT_FLOAT_EQ(n.y, 0.8f);
    EXPECT_FLOAT_EQ(n.z, 0.0f);
}

TEST(Vector, NormalizingAlmostZeroReportsAndKeepsTheValue) {
    testing::internal::CaptureStdout();
    const Vector3 v = Vector3(0.00005f, 0.0f, 0.0f).Normalized();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Detected Vector3 Division by Zero");
    EXPECT_FLOAT_EQ(v.x, 0.00005f);

    testing::internal::CaptureStdout();
    Vector2 w(0.0f, 0.0f);
    w.Normalize();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Detected Vector2 Division by Zero");
    EXPECT_EQ(w.x, 0.0f);
    EXPECT_EQ(w.y, 0.0f);
}

TEST(Vector, EqualityIsApproximate) {
    EXPECT_TRUE(Vector3(1, 2, 3) == Vector3(1.00009f, 2, 3));
    EXPECT_FALSE(Vector3(1, 2, 3) == Vector3(1.0002f, 2, 3));
    EXPECT_TRUE(Vector3(1, 2, 3) != Vector3(1, 2, 3.5f));
}

TEST(Vector, ArithmeticIsComponentWise) {
    Vector3 a(1, 2, 3);
    const Vector3 b(4, 5, 6);
    EXPECT_TRUE(a + b == Vector3(5, 7, 9));
    EXPECT_TRUE(b - a == Vector3(3, 3, 3));
    EXPECT_TRUE(-a == Vector3(-1, -2, -3));
    EXPECT_TRUE(a * 2.0f == Vector3(2, 4, 6));
    a += b;
    EXPECT_TRUE(a == Vector3(5, 7, 9));
    a -= b;
    EXPECT_TRUE(a == Vector3(1, 2, 3));
    EXPECT_FLOAT_EQ(a.Dot(b), 32.0f);
    EXPECT_FLOAT_EQ(a.LengthSquared(), 14.0f);
    EXPECT_FLOAT_EQ(Vector2(3, 4).Length(), 5.0f);
}

TEST(Vector, ToStringClampsDepthAndNeverOverflows) {
    EXPECT_EQ(Vector3(1, -2.5f, 5000000).ToString(), "(1.00, -2.50, 1000000.00)");
    const std::string huge = Vector3(1e30f, -1e30f, 0).ToString();
    EXPECT_LE(huge.size(), 29u);
    EXPECT_EQ(huge, "(1000000015047466219876688855");
}

TEST(Vector, StreamOutputUsesDefaultFormatWithoutSpaces) {
    std::ostringstream out;
    out << Vector3(1.5f, -2, 0.25f) << " " << Vector2(3, 4);
    EXPECT_EQ(out.str(), "1.5,-2,0.25 3,4");
}

TEST(Scalar, WrapPingPongClampAndAngles) {
    EXPECT_FLOAT_EQ(Wrap(-1, 4), 3);
    EXPECT_FLOAT_EQ(Wrap(9, 4), 1);
    EXPECT_FLOAT_EQ(PingPong(3, 2), 1);
    EXPECT_FLOAT_EQ(PingPong(4, 2), 0);
    EXPECT_FLOAT_EQ(PingPong(1, 2), 1);
    EXPECT_FLOAT_EQ(Clamp(5, 0, 1), 1);
    EXPECT_FLOAT_EQ(Clamp(-5, 0, 1), 0);
    EXPECT_FLOAT_EQ(Clamp(0.5f, 0, 1), 0.5f);
    EXPECT_NEAR(DegToRad(180), 3.1415927f, 1e-6f);
    EXPECT_NEAR(RadToDeg(3.1415927f), 180.0f, 1e-4f);
    EXPECT_TRUE(ApproxEqual(1.0f, 1.00009f));
    EXPECT_FALSE(ApproxEqual(1.0f, 1.0002f));
}

TEST(Random, RangesHold) {
    for (int i = 0; i < 2000; ++i) {
        const float f = RandomFloat(0.8f, 1.0f);
        EXPECT_GE(f, 0.8f);
        EXPECT_LE(f, 1.0f);
        const int n = RandomInt(-15, 15);
        EXPECT_GE(n, -15);
        EXPECT_LE(n, 15);
    }
    std::set<int> seen;
    for (int i = 0; i < 500; ++i) {
        seen.insert(RandomInt(0, 3));
    }
    EXPECT_EQ(seen.size(), 4u) << "both ends of RandomInt are inclusive";
}

TEST(Random, ASeedMakesEveryThreadRepeatItself) {
    SeedRandom(42);
    const float first = RandomFloat(0, 1);
    const int cValue = std::rand();
    float otherThread = 0;
    std::thread([&] { otherThread = RandomFloat(0, 1); }).join();
    SeedRandom(42);
    EXPECT_EQ(RandomFloat(0, 1), first);
    EXPECT_EQ(std::rand(), cValue);
    EXPECT_EQ(otherThread, first) << "a new thread starts from the same seed";
}
