#include "tests/support/TestFramework.h"

#include <afx.h>

namespace {

class CShape : public CObject
{
    DECLARE_DYNAMIC(CShape)
};
IMPLEMENT_DYNAMIC(CShape, CObject)

class CCircle : public CShape
{
    DECLARE_DYNCREATE(CCircle)
public:
    int radius = 5;
};
IMPLEMENT_DYNCREATE(CCircle, CShape)

class CPlain : public CObject
{
};

TEST(ObjectTest, IsKindOfFollowsTheBaseChain)
{
    CCircle circle;
    EXPECT_TRUE(circle.IsKindOf(RUNTIME_CLASS(CCircle)));
    EXPECT_TRUE(circle.IsKindOf(RUNTIME_CLASS(CShape)));
    EXPECT_TRUE(circle.IsKindOf(RUNTIME_CLASS(CObject)));
    EXPECT_FALSE(CPlain().IsKindOf(RUNTIME_CLASS(CShape)));
    EXPECT_TRUE(CPlain().IsKindOf(RUNTIME_CLASS(CObject)));
    EXPECT_FALSE(RUNTIME_CLASS(CShape)->IsDerivedFrom(RUNTIME_CLASS(CCircle)));
    EXPECT_STREQ("CCircle", circle.GetRuntimeClass()->m_lpszClassName);
    EXPECT_EQ(static_cast<int>(sizeof(CCircle)), RUNTIME_CLASS(CCircle)->m_nObjectSize);
    EXPECT_FALSE(circle.IsSerializable());
}

TEST(ObjectTest, CreatesObjectsByRecordAndByName)
{
    CObject* made = RUNTIME_CLASS(CCircle)->CreateObject();
    ASSERT_NE(nullptr, made);
    EXPECT_EQ(RUNTIME_CLASS(CCircle), made->GetRuntimeClass());
    EXPECT_EQ(5, static_cast<CCircle*>(made)->radius);
    delete made;

    CObject* byName = CRuntimeClass::CreateObject("CCircle");
    ASSERT_NE(nullptr, byName);
    EXPECT_TRUE(byName->IsKindOf(RUNTIME_CLASS(CCircle)));
    delete byName;

    EXPECT_EQ(RUNTIME_CLASS(CShape), CRuntimeClass::FromName("CShape"));
    EXPECT_EQ(RUNTIME_CLASS(CObject), CRuntimeClass::FromName("CObject"));
    // Dynamic but not creatable, unknown, and no name at all.
    EXPECT_EQ(nullptr, CRuntimeClass::CreateObject("CShape"));
    EXPECT_EQ(nullptr, CRuntimeClass::CreateObject("CNoSuchClass"));
    EXPECT_EQ(nullptr, CRuntimeClass::FromName(NULL));
}

} // namespace
