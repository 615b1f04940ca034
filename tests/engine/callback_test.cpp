#include <gtest/gtest.h>

#include <vector>

#include "engine/callback.h"

namespace {

std::vector<QEL::QT_CALLBACK_ARG> gReceived;

uint32_t record(QEL::QT_CALLBACK_ARG argument) {
  gReceived.push_back(argument);
  return 77;  // never passed back
}

class CallbackTest : public ::testing::Test {
 protected:
  void SetUp() override { gReceived.clear(); }
};

TEST_F(CallbackTest, NullCallbackReturnsMissing) {
  EXPECT_EQ(QEL::QC_CALLBACK::fInvoke(nullptr, 0), -108);
  EXPECT_EQ(QEL::QC_CALLBACK::fInvoke(nullptr, 5), -108);
  // qcON_START is never filled, so the main loop's invocation of it reports -108.
  EXPECT_EQ(QEL::QC_CALLBACK::fInvoke(QEL::qcON_START, 0), -108);
}

TEST_F(CallbackTest, StoredArgumentStandsInForZero) {
  QEL::QC_CALLBACK callback(record, "five", 5);
  EXPECT_EQ(QEL::QC_CALLBACK::fInvoke(&callback, 0), 0);
  EXPECT_EQ(QEL::QC_CALLBACK::fInvoke(&callback, 7), 0);
  ASSERT_EQ(gReceived.size(), 2u);
  EXPECT_EQ(gReceived[0], 5u);
  EXPECT_EQ(gReceived[1], 7u);
}

TEST_F(CallbackTest, NullFunctionReturnsZeroAndCallsNothing) {
  QEL::QC_CALLBACK callback(nullptr, nullptr, 3);
  EXPECT_EQ(QEL::QC_CALLBACK::fInvoke(&callback, 9), 0);
  EXPECT_TRUE(gReceived.empty());
  EXPECT_TRUE(callback._name.empty());
}

TEST_F(CallbackTest, ArgumentCarriesAPointer) {
  int object = 0;
  const auto pointer = reinterpret_cast<QEL::QT_CALLBACK_ARG>(&object);
  QEL::QC_CALLBACK* callback = QEL::QC_CALLBACK::fCreate(record, nullptr, 0);
  EXPECT_EQ(QEL::QC_CALLBACK::fInvoke(callback, pointer), 0);
  ASSERT_EQ(gReceived.size(), 1u);
  EXPECT_EQ(gReceived[0], pointer);
  delete callback;
}

TEST_F(CallbackTest, RegistrarFillsTheEntrySlot) {
  QEL::QC_CALLBACK* before = QEL::qcON_ENTRY;
  QEL::QC_ENTRY_REGISTRAR registrar(record);
  ASSERT_NE(QEL::qcON_ENTRY, nullptr);
  EXPECT_EQ(QEL::QC_CALLBACK::fInvoke(QEL::qcON_ENTRY, 0), 0);
  ASSERT_EQ(gReceived.size(), 1u);
  EXPECT_EQ(gReceived[0], 0u);
  delete QEL::qcON_ENTRY;
  QEL::qcON_ENTRY = before;
}

}  // namespace
