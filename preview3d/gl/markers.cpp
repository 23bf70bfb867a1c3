#include "preview3d/gl/markers.h"

#include <QImage>
#include <QString>

#include "platform/data_paths.h"

namespace slab {

std::array<MarkerPicture, 4> LoadMarkerPictures(const std::filesystem::path& folder,
                                                MessageSink& messages) {
  std::array<MarkerPicture, 4> pictures;
  for (size_t i = 0; i < kMarkerFiles.size(); ++i) {
    const ShippedFile file = FindShippedFile(folder, kMarkerFiles[i], ShippedKind::Data);
    QImage image(QString::fromStdString(file.Path.string()));
    if (image.isNull()) {
      messages.Show("Can't find texture file " + file.Path.string() +
                    (file.Found ? std::string() : " (looked in " + LookedInText(file) + ")"));
      continue;
    }
    image = image.convertToFormat(QImage::Format_RGB888);
    MarkerPicture& picture = pictures[i];
    picture.Width = image.width();
    picture.Height = image.height();
    picture.Texels.resize(static_cast<size_t>(picture.Width) * picture.Height);
    for (int y = 0; y < picture.Height; ++y) {
      const uchar* row = image.constScanLine(y);
      for (int x = 0; x < picture.Width; ++x)
        picture.Texels[static_cast<size_t>(y) * picture.Width + x] =
            PackRgba(row[3 * x], row[3 * x + 1], row[3 * x + 2]);
    }
  }
  return pictures;
}

}  // namespace slab
