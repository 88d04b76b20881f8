#pragma once

#include "core/support/raw_enum.h"

#include <QException>

namespace velmora {

/// The engine's one error type. Cases carry no message: each caller words its own
/// failure sentence. Whatever platform error caused a failure is dropped.
enum class VelmoraCoreError {
    imageDestinationFailed, ///< Encoding or writing the cleaned image failed.
    imageRenderFailed,      ///< Rendering the cleaned image, or making an import upright, failed.
    invalidImageData,       ///< Image import found no decodable image.
    unsupportedImageType,   ///< Image import from a file whose type is not supported.
    textRecognitionFailed,  ///< Text recognition failed.
    visualDetectionFailed,  ///< Face or code detection failed.
};

/// Carries a VelmoraCoreError across threads and QFutures.
class VelmoraCoreException : public QException
{
public:
    explicit VelmoraCoreException(VelmoraCoreError error) : m_error(error) {}
    VelmoraCoreError error() const { return m_error; }
    void raise() const override { throw *this; }
    VelmoraCoreException *clone() const override { return new VelmoraCoreException(*this); }
    const char *what() const noexcept override { return "VelmoraCoreException"; }

private:
    VelmoraCoreError m_error;
};

} // namespace velmora

VELMORA_RAW_ENUM(velmora::VelmoraCoreError,
    {velmora::VelmoraCoreError::imageDestinationFailed, "imageDestinationFailed"},
    {velmora::VelmoraCoreError::imageRenderFailed, "imageRenderFailed"},
    {velmora::VelmoraCoreError::invalidImageData, "invalidImageData"},
    {velmora::VelmoraCoreError::unsupportedImageType, "unsupportedImageType"},
    {velmora::VelmoraCoreError::textRecognitionFailed, "textRecognitionFailed"},
    {velmora::VelmoraCoreError::visualDetectionFailed, "visualDetectionFailed"});
