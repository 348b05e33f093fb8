;; Prints the drawing's polylines: layer, width and vertices.
(defun dump-polylines (/ e data)
  (setq e (entnext))
  (while e
    (setq data (entget e))
    (cond ((= (cdr (assoc 0 data)) "POLYLINE")
           (princ (strcat "\n" (cdr (assoc 8 data)) " width " (rtos (cdr (assoc 40 data)) 2 2) ":")))
          ((= (cdr (assoc 0 data)) "VERTEX")
           (princ " ") (prin1 (cdr (assoc 10 data)))))
    (setq e (entnext e)))
  (princ))
