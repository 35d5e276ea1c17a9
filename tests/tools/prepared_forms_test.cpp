// The local service's prepared forms: made once, made again when the file changes.
#include "prepared_forms.h"

#include <gtest/gtest.h>

#include <chrono>
#include <stdexcept>

#include "support/files.h"
#include "support/temp_dir.h"

namespace xamu::servicio {
namespace {

namespace fs = std::filesystem;

class PreparedFormsTest : public ::testing::Test {
 protected:
  // Prepares `file_` as its text, counting the preparations.
  std::string Get() {
    const PreparedForms::Form form = forms_.Get(file_, [&] {
      ++prepared_;
      Archivo1Sincronizacion e;
      e.Datos = testing::ReadFile(file_.string());
      return e;
    });
    return std::string(form->Datos.begin(), form->Datos.end());
  }

  void Write(const std::string& text) {
    testing::WriteFile(file_.string(), TipoArregloByte(text.begin(), text.end()));
  }

  testing::TempDir dir_;
  fs::path file_ = dir_.Path() / "1_Tabla.cds.tsv";
  PreparedForms forms_;
  int prepared_ = 0;
};

TEST_F(PreparedFormsTest, AFileIsPreparedOnceUntilItsSizeOrDateChanges) {
  Write("uno");
  EXPECT_EQ(Get(), "uno");
  EXPECT_EQ(Get(), "uno");
  EXPECT_EQ(prepared_, 1);

  Write("cuatro");
  const fs::file_time_type written = fs::last_write_time(file_);
  EXPECT_EQ(Get(), "cuatro") << "a new size";
  EXPECT_EQ(prepared_, 2);

  // The same size and, until its date is moved, the same date as before.
  Write("cinco!");
  fs::last_write_time(file_, written);
  EXPECT_EQ(Get(), "cuatro") << "size and date alone tell a change";
  fs::last_write_time(file_, written + std::chrono::seconds(1));
  EXPECT_EQ(Get(), "cinco!") << "a new date";
  EXPECT_EQ(prepared_, 3);
}

TEST_F(PreparedFormsTest, AFileThatCannotBeStampedIsPreparedEveryTimeAndNothingIsKept) {
  int calls = 0;
  const auto fail = [&]() -> Archivo1Sincronizacion {
    ++calls;
    throw std::runtime_error("missing");
  };
  EXPECT_THROW(forms_.Get(file_, fail), std::runtime_error);
  EXPECT_THROW(forms_.Get(file_, fail), std::runtime_error);
  EXPECT_EQ(calls, 2);

  Write("ya");
  EXPECT_EQ(Get(), "ya");
  fs::remove(file_);
  EXPECT_THROW(forms_.Get(file_, fail), std::runtime_error) << "gone since it was kept";
}

}  // namespace
}  // namespace xamu::servicio
