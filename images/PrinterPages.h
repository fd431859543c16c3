#pragma once
// Printed pages as PNG files: the image layer's page writer for the virtual
// printer, installed at library start-up (and by tests that print).
namespace images {

void InstallPngPageWriter();

}  // namespace images
