"""The tour notebook is stored as a reader should first see it: no outputs, nothing run yet,
and a kernel that the Debian packages provide (the suite executes it with nbconvert)."""

import json
import os
from pathlib import Path

NOTEBOOK = Path(os.environ.get("VESK_SOURCE", Path(__file__).parents[2])) / "examples" / "tour.ipynb"


def test_tour_is_stored_without_outputs():
    notebook = json.loads(NOTEBOOK.read_text(encoding="utf-8"))
    assert notebook["metadata"]["kernelspec"]["name"] == "python3"
    code = [cell for cell in notebook["cells"] if cell["cell_type"] == "code"]
    assert code
    for at, cell in enumerate(code):
        assert cell["outputs"] == [] and cell["execution_count"] is None, f"code cell {at}"
    assert all("attachments" not in cell for cell in notebook["cells"])
