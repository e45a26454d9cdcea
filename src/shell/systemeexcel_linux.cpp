// No Excel outside Windows: the transfer writes the workbook.
#include "systemeexcel.h"

std::unique_ptr<TSystemeExcel> systemeExcelStandard() {
    return std::make_unique<TSystemeSansExcel>();
}
