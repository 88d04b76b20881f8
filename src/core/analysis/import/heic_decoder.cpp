#include "core/analysis/import/heic_decoder.h"

#include "core/analysis/import/image_input_limits.h"
#include "core/support/log_categories.h"

#include <QColorSpace>

#include <libheif/heif.h>

#include <memory>

namespace velmora {

namespace {

struct ContextDeleter { void operator()(heif_context *context) const { heif_context_free(context); } };
struct HandleDeleter { void operator()(heif_image_handle *handle) const { heif_image_handle_release(handle); } };
struct ImageDeleter { void operator()(heif_image *image) const { heif_image_release(image); } };
struct OptionsDeleter { void operator()(heif_decoding_options *options) const { heif_decoding_options_free(options); } };

using ContextPtr = std::unique_ptr<heif_context, ContextDeleter>;
using HandlePtr = std::unique_ptr<heif_image_handle, HandleDeleter>;
using ImagePtr = std::unique_ptr<heif_image, ImageDeleter>;
using OptionsPtr = std::unique_ptr<heif_decoding_options, OptionsDeleter>;

// Keeps libheif's plugins loaded for the life of the process. libheif counts its
// start-ups; ending the last one unloads the decoders, so it is started once.
class HeifLibrary
{
public:
    HeifLibrary() { m_ok = heif_init(nullptr).code == heif_error_Ok; }
    ~HeifLibrary() { if (m_ok) heif_deinit(); }
    HeifLibrary(const HeifLibrary &) = delete;
    HeifLibrary &operator=(const HeifLibrary &) = delete;
    bool ok() const { return m_ok; }

private:
    bool m_ok = false;
};

QColorSpace colorSpaceOf(const heif_image_handle *handle)
{
    switch (heif_image_handle_get_color_profile_type(handle)) {
    case heif_color_profile_type_prof:
    case heif_color_profile_type_rICC: {
        QByteArray icc(qsizetype(heif_image_handle_get_raw_color_profile_size(handle)), Qt::Uninitialized);
        if (heif_image_handle_get_raw_color_profile(handle, icc.data()).code != heif_error_Ok)
            return {};
        return QColorSpace::fromIccProfile(icc);
    }
    case heif_color_profile_type_nclx: {
        heif_color_profile_nclx *nclx = nullptr;
        if (heif_image_handle_get_nclx_color_profile(handle, &nclx).code != heif_error_Ok || !nclx)
            return {};
        const bool displayP3 = nclx->color_primaries == heif_color_primaries_SMPTE_EG_432_1;
        heif_nclx_color_profile_free(nclx);
        // Phones write Display P3 this way; the other primaries they use are sRGB's.
        return displayP3 ? QColorSpace(QColorSpace::DisplayP3) : QColorSpace(QColorSpace::SRgb);
    }
    case heif_color_profile_type_not_present:
        break;
    }
    return {};
}

} // namespace

bool looksLikeHeic(const QByteArray &data)
{
    const auto *bytes = reinterpret_cast<const uint8_t *>(data.constData());
    // The file type box comes first and names its brands within a few dozen bytes.
    const int length = int(std::min<qsizetype>(data.size(), 256));
    if (heif_check_filetype(bytes, length) != heif_filetype_yes_supported)
        return false;
    const heif_brand2 main = heif_read_main_brand(bytes, length);
    for (const char *brand : {"heic", "heix"}) {
        if (main == heif_fourcc_to_brand(brand) || heif_has_compatible_brand(bytes, length, brand) == 1)
            return true;
    }
    return false;
}

QImage decodeHeif(const QByteArray &data)
{
    static const HeifLibrary library;
    if (!library.ok())
        return {};
    ContextPtr context(heif_context_alloc());
    if (context)
        heif_context_set_maximum_image_size_limit(context.get(), kMaximumHeifSide);
    if (!context
        || heif_context_read_from_memory_without_copy(context.get(), data.constData(), size_t(data.size()), nullptr).code
            != heif_error_Ok)
        return {};

    heif_image_handle *rawHandle = nullptr;
    if (heif_context_get_primary_image_handle(context.get(), &rawHandle).code != heif_error_Ok)
        return {};
    const HandlePtr handle(rawHandle);
    const QSize declared(heif_image_handle_get_width(handle.get()), heif_image_handle_get_height(handle.get()));
    if (const auto refusal = declaredSizeRefusal(declared)) {
        qCWarning(lcImport) << "Image refused before decoding:" << rawValue(*refusal) << declared;
        return {};
    }
    const bool hasAlpha = heif_image_handle_has_alpha_channel(handle.get());

    // libheif turns and mirrors the image as the file says unless told otherwise.
    const OptionsPtr options(heif_decoding_options_alloc());
    heif_image *rawImage = nullptr;
    const heif_error decoded = heif_decode_image(handle.get(), &rawImage, heif_colorspace_RGB,
        hasAlpha ? heif_chroma_interleaved_RGBA : heif_chroma_interleaved_RGB, options.get());
    if (decoded.code != heif_error_Ok) {
        qCWarning(lcImport) << "HEIF decoding failed:" << decoded.message;
        return {};
    }
    const ImagePtr image(rawImage);

    int stride = 0;
    const uint8_t *pixels = heif_image_get_plane_readonly(image.get(), heif_channel_interleaved, &stride);
    const int width = heif_image_get_width(image.get(), heif_channel_interleaved);
    const int height = heif_image_get_height(image.get(), heif_channel_interleaved);
    if (!pixels || width <= 0 || height <= 0)
        return {};

    const QImage view(pixels, width, height, stride, hasAlpha ? QImage::Format_RGBA8888 : QImage::Format_RGB888);
    QImage result = view.convertToFormat(hasAlpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    if (result.isNull())
        return {};
    if (const QColorSpace space = colorSpaceOf(handle.get()); space.isValid())
        result.setColorSpace(space);
    return result;
}

} // namespace velmora
