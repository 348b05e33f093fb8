"""Checks of the saved drawing, as other programs see it, and of the pictures."""
import io
import os

import numpy as np

PICTURES = {  # name: longer side in pixels
    "site.png": 1600, "contours.png": 1600, "contours-straight.png": 1600, "tin.png": 1600, "mesh.png": 1600,
    "readme-contours.png": 900,
}


def check_transcript(ctx):
    """The session ran to its end, every command available, without a LISP error."""
    assert "; error:" not in ctx.transcript, "a LISP error: %s" % ctx.transcript.split("; error:")[1].split("\n")[0]
    assert "Command: ZOOM E" in ctx.transcript, "the session did not reach its end"
    assert not ctx.unavailable, "not available: %s" % ", ".join(sorted(ctx.unavailable))


def check_drawing_audit(ctx):
    """The saved drawing loads in ezdxf's recover mode without an error."""
    _, auditor = ctx.saved_drawing_audit
    errors = [str(e.message) for e in auditor.errors]
    assert not auditor.has_errors, "ezdxf audit: %s" % errors[:5]
    print("    audit: %d entities, %d fixes, no errors" % (len(ctx.saved_drawing.modelspace()), len(auditor.fixes)))


def check_drawing_renders(ctx):
    """ezdxf's drawing add-on renders the saved drawing with matplotlib."""
    import logging
    import matplotlib
    matplotlib.use("Agg")
    logging.getLogger("matplotlib.font_manager").setLevel(logging.ERROR)  # fonts of text styles it lacks
    import matplotlib.pyplot as plt
    from ezdxf.addons.drawing import Frontend, RenderContext
    from ezdxf.addons.drawing.matplotlib import MatplotlibBackend

    doc = ctx.saved_drawing
    figure = plt.figure(figsize=(8, 8))
    axes = figure.add_axes([0, 0, 1, 1])
    Frontend(RenderContext(doc), MatplotlibBackend(axes)).draw_layout(doc.modelspace(), finalize=True)
    picture = io.BytesIO()
    figure.savefig(picture, format="png", dpi=60)
    plt.close(figure)
    assert picture.getvalue().startswith(b"\x89PNG"), "matplotlib wrote no PNG"
    width, height = axes.get_xlim(), axes.get_ylim()
    assert width[1] - width[0] > 1000 and height[1] - height[0] > 1000, "the rendering spans %s by %s" % (width, height)


def _read_png(path):
    import matplotlib.image
    return matplotlib.image.imread(path)


def check_pictures(ctx):
    """tzcad --plot: PNGs of the asked size that are not blank, the contour
    map in the contour layers' green and blue, and a PDF of the drawing."""
    for name, side in PICTURES.items():
        image = _read_png(ctx.output(name))
        height, width = image.shape[:2]
        assert max(width, height) == side, "%s is %dx%d" % (name, width, height)
        drawn = np.any(image[:, :, :3] < 0.9, axis=2)
        assert drawn.mean() > 0.005, "%s is nearly blank" % name
    contours = _read_png(ctx.output("contours.png"))[:, :, :3]
    green = (contours[:, :, 1] > 0.6) & (contours[:, :, 0] < 0.4) & (contours[:, :, 2] < 0.4)
    blue = (contours[:, :, 2] > 0.6) & (contours[:, :, 0] < 0.4) & (contours[:, :, 1] < 0.4)
    assert green.mean() > 0.002 and blue.mean() > 0.0005, "contours.png lacks the contour colours"
    with open(ctx.output("site.pdf"), "rb") as f:
        data = f.read()
    assert data.startswith(b"%PDF-") and b"%%EOF" in data[-64:], "site.pdf is no PDF"
    print("    %s" % ", ".join("%s %d KB" % (n, os.path.getsize(ctx.path(n)) // 1024) for n in PICTURES))
